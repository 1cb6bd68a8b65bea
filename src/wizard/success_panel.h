// CSuccessPanel: the wizard's last page (template 149): the product's icon,
// "<product> is ready" and the "Start Now" button, which opens the
// product's home page once (for a fresh installation), then half a second
// later starts the installed product as the desktop user and closes the
// wizard.
#pragma once

#include "ui/zyl_button.h"
#include "ui/zyl_static.h"
#include "ui/zyl_text_button.h"
#include "wizard/guide_panel.h"

struct InstallerConfig;
struct RunFlags;

inline constexpr UINT_PTR kLaunchTimer = 1125;
inline constexpr UINT kLaunchDelayMs = 500;

class CSuccessPanel : public CGuidePanel {
public:
    CSuccessPanel(InstallerConfig& config, RunFlags& flags);

    void Draw(HDC dc) override;
    void Layout(const RECT& client) override;
    void OnShow() override { ReloadTexts(); }
    void ReloadTexts() override;
    bool QueryClose() override;

    // Opens the home page unless it was opened already or the product was
    // installed before this run; true when it opened it.
    bool OpenHomePage();
    // Starts the installed product when its program exists, then closes
    // the wizard.
    void LaunchAndClose();
    void UpdateLaunchImage();
    // "<short name> is ready".
    std::wstring ReadySentence() const;

    int launchChecked = 1;
    int homePageOpened = 0;

    CZYLTextButton startButton;
    CZYLButton launchCheck;
    CZYLStatic launchLabel;

protected:
    bool OnInitDialog() override;

private:
    InstallerConfig& config_;
    RunFlags& flags_;
};
