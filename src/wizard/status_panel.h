// CStatusPanel: the wizard's installation page (template 142). Three
// seconds after it is shown it checks for running applications and starts
// the pipeline of its InstallController, then polls the progress record
// once a second: status line, time remaining, percentage and bar, with a
// slideshow above. On the final phase it hands the run's results to the
// configuration and closes the wizard or moves on to the success page;
// closing the wizard meanwhile asks the cancel question, with the
// downloads paused while it is open.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "install/install_controller.h"
#include "install/install_progress.h"
#include "ui/image_wrapper.h"
#include "ui/zyl_progress.h"
#include "ui/zyl_slideshow.h"
#include "ui/zyl_static.h"
#include "wizard/guide_panel.h"

struct InstallerConfig;
struct RunFlags;

inline constexpr UINT_PTR kStartTimer = 1125;
// The wait between showing the page and starting the run, 3 s (defined
// alone in start_delay.cpp, so that a benchmark build of the installer can
// link its own value in its place).
extern const UINT kStartDelayMs;
inline constexpr UINT_PTR kPollTimer = 1124;
inline constexpr UINT kPollPeriodMs = 1000;
// Posted by the pipeline's worker when it has ended: the panel polls at
// once, so the end of the run is acted on without waiting for the timer.
inline constexpr UINT kRunEndedMessage = WM_APP + 0x125;

class CStatusPanel : public CGuidePanel {
public:
    CStatusPanel(InstallerConfig& config, RunFlags& flags);
    ~CStatusPanel() override;

    void Layout(const RECT& client) override;
    void OnShow() override;
    void ReloadTexts() override;
    bool QueryClose() override;

    struct Snapshot {
        PipelinePhase phase = PipelinePhase::NotStarted;
        float percent = 0;
        std::wstring statusText;
        std::wstring timeText;
    };
    Snapshot TakeSnapshot();
    // One poll; true when the pipeline goes on (the timer is set again).
    bool Poll();

    CZYLSliderShowCtrl slideshow;
    CZYLStatic statusLabel;
    CZYLStatic timeLabel;
    CZYLStatic percentLabel;
    CZYLProgress progressBar;
    InstallController controller;

protected:
    bool OnInitDialog() override;

private:
    void OnStartTimer();
    void OnPollTimer();
    void FinishRun(PipelinePhase phase);
    void CloseWizard();

    InstallerConfig& config_;
    RunFlags& flags_;
    std::vector<std::unique_ptr<CImageWrapper>> pictures_;
    // Set once a poll has seen the final phase; later polls do nothing.
    bool runFinished_ = false;
};
