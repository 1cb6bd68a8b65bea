// CInstallGuide: the installer's main window, the custom-frame dialog on
// template 139 that holds the three pages (settings 0, status 1, success
// 2), shows one at a time and moves forward through them.
//
// Contents of wizard/:
//   install_guide    this dialog and RunInstallGuide, the modal run
//   guide_panel      CGuidePanel, the base of the pages
//   setting_panel    CSettingPanel (template 137): licence, folder
//   status_panel     CStatusPanel (template 142): the installation run
//   success_panel    CSuccessPanel (template 149): home page, Start Now
//   panel_geometry   the pages' layouts as plain arithmetic
//   progress_text    the status page's texts (status, time, percentage)
//   install_folder   the folder rules of the settings page
//   exit_code        the run's outcome and the process exit code
#pragma once

#include <windows.h>

#include <memory>
#include <unordered_map>

#include "ui/zyl_dialog.h"
#include "wizard/guide_panel.h"

struct InstallerConfig;
struct RunFlags;

class CInstallGuide : public CZYLDialog {
public:
    CInstallGuide();
    CInstallGuide(InstallerConfig& config, RunFlags& flags);
    ~CInstallGuide() override;

    // Makes the page `index` the visible one; false when there is none.
    bool ShowPanel(int index);
    // Sizes the window to the current page's preferred size.
    void FitToPanel();
    int CurrentPanelIndex() const { return currentIndex_; }
    CGuidePanel* Panel(int index) const;
    // Ends the wizard at once (a page's decision: failure, cancel, done).
    void CloseGuide();

    InstallerConfig& Config() const { return config_; }
    RunFlags& Flags() const { return flags_; }

protected:
    bool OnInitDialog() override;
    void OnLayout(const RECT& client) override;
    void OnClose() override;

private:
    void HideForSilentMode();

    InstallerConfig& config_;
    RunFlags& flags_;
    std::unordered_map<int, std::shared_ptr<CGuidePanel>> panels_;
    int currentIndex_ = 0;
    bool keepHidden_ = false;
};

// Runs the wizard modally on the process-wide configuration and flags and
// returns the process exit code of its outcome. COM is initialised by the
// caller around it.
int RunInstallGuide();
