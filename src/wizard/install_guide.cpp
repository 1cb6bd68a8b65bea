#include "wizard/install_guide.h"

#include "base/debug_trace.h"
#include "config/installer_config.h"
#include "config/run_flags.h"
#include "resource_ids.h"
#include "ui/dpi.h"
#include "wizard/exit_code.h"
#include "wizard/panel_geometry.h"
#include "wizard/setting_panel.h"
#include "wizard/status_panel.h"
#include "wizard/success_panel.h"

CInstallGuide::CInstallGuide() : CInstallGuide(TheConfig(), TheRunFlags()) {}

CInstallGuide::CInstallGuide(InstallerConfig& config, RunFlags& flags)
    : CZYLDialog(IDD_INSTALL_GUIDE), config_(config), flags_(flags)
{
    // In silent mode nothing may show the wizard, not even the modal loop
    // showing it once its queue is empty.
    OnMessage(WM_WINDOWPOSCHANGING, [this](WPARAM, LPARAM lParam) -> LRESULT {
        if (keepHidden_)
            reinterpret_cast<WINDOWPOS*>(lParam)->flags &= ~SWP_SHOWWINDOW;
        return Default();
    });
}

CInstallGuide::~CInstallGuide() = default;

bool CInstallGuide::OnInitDialog()
{
    CZYLDialog::OnInitDialog();

    HINSTANCE module = GetModuleHandleW(nullptr);
    HICON big = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(101), IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                              GetSystemMetrics(SM_CYICON), LR_SHARED));
    HICON small = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(101), IMAGE_ICON,
                                                GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    SendMessageW(Hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    SendMessageW(Hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    SetWindowTextW(Hwnd(), config_.manifest.fullName.c_str());

    panels_[0] = std::make_shared<CSettingPanel>(config_);
    panels_[1] = std::make_shared<CStatusPanel>(config_, flags_);
    panels_[2] = std::make_shared<CSuccessPanel>(config_, flags_);
    for (auto& [index, panel] : panels_) {
        if (!panel->Create(Hwnd()))
            DebugTraceFormat(L"PictoraSetup: wizard page %d could not be made.\r\n", index);
    }

    if (flags_.silentMode)
        keepHidden_ = true;
    ShowPanel(flags_.existingInstall || flags_.silentMode ? 1 : 0);
    FitToPanel();
    if (flags_.silentMode)
        HideForSilentMode();
    return true;
}

void CInstallGuide::HideForSilentMode()
{
    HWND window = Hwnd();
    SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
    SetWindowLongPtrW(window, GWL_EXSTYLE, (exStyle & ~WS_EX_APPWINDOW) | WS_EX_TOOLWINDOW);
    ShowWindow(window, SW_HIDE);
}

CGuidePanel* CInstallGuide::Panel(int index) const
{
    auto found = panels_.find(index);
    return found == panels_.end() ? nullptr : found->second.get();
}

bool CInstallGuide::ShowPanel(int index)
{
    showCaptionTitle = index == 1;
    RepaintFrame();
    CGuidePanel* panel = Panel(index);
    if (!panel)
        return false;
    if (index != currentIndex_) {
        if (CGuidePanel* current = Panel(currentIndex_); current && current->Hwnd())
            ShowWindow(current->Hwnd(), SW_HIDE);
    }
    currentIndex_ = index;
    FitToPanel();
    panel->OnShow();
    if (panel->Hwnd())
        ShowWindow(panel->Hwnd(), SW_SHOW);
    InvalidateRect(Hwnd(), nullptr, TRUE);
    UpdateWindow(Hwnd());
    return true;
}

void CInstallGuide::FitToPanel()
{
    CGuidePanel* panel = Panel(currentIndex_);
    const SIZE size = panel ? panel->PreferredSize() : SIZE{0, 0};
    SetWindowPos(Hwnd(), nullptr, 0, 0, size.cx + 2 * StepScaleX(1), size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CInstallGuide::OnLayout(const RECT& client)
{
    for (auto& [index, panel] : panels_) {
        if (panel->Hwnd())
            MoveWindow(panel->Hwnd(), client.left, client.top, client.right - client.left, client.bottom - client.top,
                       TRUE);
    }
}

void CInstallGuide::OnClose()
{
    CGuidePanel* panel = Panel(currentIndex_);
    if (!panel || panel->QueryClose())
        EndDialog(IDCANCEL);
}

void CInstallGuide::CloseGuide()
{
    EndDialog(IDCANCEL);
}

int RunInstallGuide()
{
    CInstallGuide guide;
    if (guide.DoModal(nullptr) == -1)
        DebugTraceFormat(L"PictoraSetup: the wizard could not be made (error %d).\r\n",
                         static_cast<int>(GetLastError()));
    return TheWizardResult().ExitCode();
}
