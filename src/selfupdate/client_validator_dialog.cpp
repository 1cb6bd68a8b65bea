// CClientValidator as a window: the dialog on template 172 with its marquee
// progress bar, which starts the worker when it opens and closes when the
// worker says so.
#include "selfupdate/client_validator.h"

#include <commctrl.h>

#include "base/debug_trace.h"
#include "config/installer_config.h"
#include "config/run_flags.h"
#include "i18n/ui_string_lookup.h"
#include "selfupdate/progress_layout.h"

// The marquee's update interval in milliseconds.
constexpr UINT kMarqueeIntervalMs = 10;

CClientValidator::CClientValidator() : CClientValidator(TheConfig(), TheRunFlags()) {}

CClientValidator::CClientValidator(InstallerConfig& config, const RunFlags& flags)
    : CZYLDialog(IDD_CLIENT_VALIDATOR), config_(config), flags_(flags)
{
    // In silent mode nothing may show the dialog, not even the modal loop
    // showing it once its queue is empty.
    OnMessage(WM_WINDOWPOSCHANGING, [this](WPARAM, LPARAM lParam) -> LRESULT {
        if (keepHidden_)
            reinterpret_cast<WINDOWPOS*>(lParam)->flags &= ~SWP_SHOWWINDOW;
        return Default();
    });
}

CClientValidator::~CClientValidator()
{
    WaitForWorker();
}

void CClientValidator::WaitForWorker()
{
    if (workerTask_.joinable())
        workerTask_.join();
}

void CClientValidator::RunModal()
{
    WaitForWorker();
    workerDone_ = false;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    if (DoModal(nullptr) == -1) {
        DebugTraceFormat(L"PictoraSetup: the self-update dialog could not be made (error %d).\r\n",
                         static_cast<int>(GetLastError()));
        // The check itself must not be skipped: its verdict decides
        // whether this installer may go on.
        workerTask_ = std::thread([this] { RunWorker(nullptr); });
    }
    WaitForWorker();
}

bool CClientValidator::OnInitDialog()
{
    CZYLDialog::OnInitDialog();
    // A title in the caption, and no way to close, maximise or minimise.
    showCaptionTitle = true;
    for (int button : {kCaptionClose, kCaptionMaximize, kCaptionMinimize})
        SetCaptionButtonDisabled(button, true);
    RepaintFrame();

    RECT client{};
    GetClientRect(Hwnd(), &client);
    LayoutProgressBar(client);
    if (titleText.empty())
        titleText = LoadUIString(config_.language, UIStringId::Preparing);
    SetWindowTextW(Hwnd(), titleText.c_str());
    SendDlgItemMessageW(Hwnd(), IDC_CHECK_PROGRESS, PBM_SETMARQUEE, TRUE, kMarqueeIntervalMs);

    HWND dialog = Hwnd();
    workerTask_ = std::thread([this, dialog] { RunWorker(dialog); });

    if (flags_.silentMode)
        HideForSilentMode();
    return true;
}

void CClientValidator::OnClose()
{
    if (workerDone_)
        EndDialog(IDCANCEL);
}

bool CClientValidator::PreTranslateMessage(MSG& message)
{
    return message.message == WM_KEYDOWN;
}

void CClientValidator::OnLayout(const RECT& client)
{
    LayoutProgressBar(client);
}

void CClientValidator::LayoutProgressBar(const RECT& client)
{
    HWND bar = Item(IDC_CHECK_PROGRESS);
    if (!bar)
        return;
    RECT box{};
    GetWindowRect(bar, &box);
    const int width = box.right - box.left;
    const int height = box.bottom - box.top;
    POINT origin = CenteredBarOrigin(client.right - client.left, client.bottom - client.top, width, height);
    MoveWindow(bar, origin.x, origin.y, width, height, TRUE);
}

void CClientValidator::HideForSilentMode()
{
    keepHidden_ = true;
    HWND dialog = Hwnd();
    SetWindowPos(dialog, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    LONG_PTR exStyle = GetWindowLongPtrW(dialog, GWL_EXSTYLE);
    SetWindowLongPtrW(dialog, GWL_EXSTYLE, (exStyle & ~WS_EX_APPWINDOW) | WS_EX_TOOLWINDOW);
    ShowWindow(dialog, SW_HIDE);
}
