#include "wizard/status_panel.h"

#include <shellapi.h>
#include <shlwapi.h>

#include "base/debug_trace.h"
#include "base/desktop_launch.h"
#include "config/installer_config.h"
#include "config/run_flags.h"
#include "i18n/slide_paths.h"
#include "i18n/ui_string_lookup.h"
#include "install/running_applications.h"
#include "install/shared_progress.h"
#include "base/notifier.h"
#include "resource_ids.h"
#include "ui/dpi.h"
#include "ui/image_cache.h"
#include "ui/theme.h"
#include "wizard/exit_code.h"
#include "wizard/install_folder.h"
#include "wizard/install_guide.h"
#include "wizard/panel_geometry.h"
#include "wizard/progress_text.h"

namespace {

void Place(HWND window, const RECT& r)
{
    if (window)
        MoveWindow(window, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

void ShowLabelNow(CZYLStatic& label, const std::wstring& text)
{
    label.SetLabel(text);
    if (label.Hwnd()) {
        InvalidateRect(label.Hwnd(), nullptr, TRUE);
        UpdateWindow(label.Hwnd());
    }
}

}  // namespace

CStatusPanel::CStatusPanel(InstallerConfig& config, RunFlags& flags)
    : CGuidePanel(IDD_STATUS_PANEL), config_(config), flags_(flags)
{
    controller.cancelEvent.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    controller.runEvent.Reset(CreateEventW(nullptr, TRUE, TRUE, nullptr));
    OnTimer(kStartTimer, [this] { OnStartTimer(); });
    OnTimer(kPollTimer, [this] { OnPollTimer(); });
    OnMessage(kRunEndedMessage, [this](WPARAM, LPARAM) -> LRESULT {
        OnPollTimer();
        return 0;
    });
    OnMessage(kSlideshowClicked, [this](WPARAM, LPARAM) -> LRESULT {
        const std::wstring link = LoadLinkString(config_.language, UIStringId::RlinkSlideShow);
        ShellExecuteW(nullptr, L"open", link.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        return 0;
    });
}

CStatusPanel::~CStatusPanel()
{
    controller.WaitForWorker();
}

bool CStatusPanel::OnInitDialog()
{
    CGuidePanel::OnInitDialog();
    const ThemePalette& theme = Theme();
    HWND window = Hwnd();
    if (slideshow.Create(window, IDC_SLIDESHOW)) {
        slideshow.backgroundColor = theme.WindowBackground;
        ShowWindow(slideshow.Hwnd(), SW_SHOW);
    }
    statusLabel.AttachToItem(window, IDC_STATUS_LABEL);
    timeLabel.AttachToItem(window, IDC_TIME_LABEL);
    percentLabel.AttachToItem(window, IDC_PERCENT_LABEL);
    for (CZYLStatic* label : {&statusLabel, &timeLabel, &percentLabel}) {
        label->font = BodyFont();
        label->textColor = theme.SecondaryText;
        label->backgroundColor = theme.WindowBackground;
        label->format = DT_WORDBREAK;
    }
    percentLabel.format = DT_RIGHT | DT_WORDBREAK;
    statusLabel.SetLabel(LoadUIString(config_.language, UIStringId::StatusInit));
    timeLabel.SetLabel(LoadUIString(config_.language, UIStringId::CalcTimeRemaining));
    percentLabel.SetLabel(L"");

    if (progressBar.Create(window, IDC_PROGRESS_BAR)) {
        progressBar.position = 0;
        progressBar.range = 1000;
        progressBar.backgroundColor = theme.WindowBackground;
        progressBar.trackColor = theme.ProgressTrack;
        progressBar.fillColor = theme.ProgressFill;
        ShowWindow(progressBar.Hwnd(), SW_SHOW);
    }
    controller.ownerWindow = GetParent(window);
    controller.endNotifyWindow = window;
    controller.endNotifyMessage = kRunEndedMessage;
    return false;
}

void CStatusPanel::Layout(const RECT& client)
{
    if (!progressBar.Hwnd() || !slideshow.Hwnd())
        return;
    const ScreenDpi& dpi = CachedScreenDpi();
    const StatusLayoutRects r = LayoutStatus(PanelScale{dpi.x ? dpi.x : 96, dpi.y ? dpi.y : 96}, client);
    Place(slideshow.Hwnd(), r.slideshow);
    Place(statusLabel.Hwnd(), r.statusLabel);
    Place(timeLabel.Hwnd(), r.timeLabel);
    Place(percentLabel.Hwnd(), r.percentLabel);
    // The track fills the bar's whole rectangle.
    progressBar.trackSize = RECT{0, 0, r.progress.right - r.progress.left, r.progress.bottom - r.progress.top};
    Place(progressBar.Hwnd(), r.progress);
}

void CStatusPanel::OnShow()
{
    ReloadTexts();
    StartTimer(kStartTimer, kStartDelayMs);
}

void CStatusPanel::ReloadTexts()
{
    statusLabel.SetLabel(LoadUIString(config_.language, UIStringId::StatusInit));
    timeLabel.SetLabel(LoadUIString(config_.language, UIStringId::CalcTimeRemaining));
    std::vector<std::unique_ptr<CImageWrapper>> pictures;
    std::vector<Slide> slides;
    for (const std::wstring& path : GetSlidePaths(config_.language)) {
        auto picture = LoadImageFile(path);
        if (!picture || !picture->Bitmap())
            continue;
        slides.push_back({picture->width, picture->height, picture->Bitmap()});
        pictures.push_back(std::move(picture));
    }
    slideshow.slides = std::move(slides);
    pictures_ = std::move(pictures);
    if (slideshow.Hwnd())
        InvalidateRect(slideshow.Hwnd(), nullptr, FALSE);
}

void CStatusPanel::OnStartTimer()
{
    StopTimer(kStartTimer);
    if (!CheckRunningApplications(config_.manifest.fullName, Hwnd())) {
        TheWizardResult().outcome = WizardOutcome::Cancelled;
        CloseWizard();
        return;
    }
    // An unattended fresh installation never saw the settings page, which
    // creates the chosen folder: without it the package would go to its own
    // default folder while the records name this one.
    if (flags_.silentMode && !flags_.existingInstall &&
        !CreateFolderLevels(WithoutOneTrailingBackslash(config_.installFolder)))
        DebugTrace(L"PictoraSetup: the installation folder " + config_.installFolder + L" cannot be made.\r\n");
    StartPipeline(controller);
    StartTimer(kPollTimer, kPollPeriodMs);
}

void CStatusPanel::OnPollTimer()
{
    StopTimer(kPollTimer);
    if (runFinished_)
        return;
    if (Poll())
        StartTimer(kPollTimer, kPollPeriodMs);
}

CStatusPanel::Snapshot CStatusPanel::TakeSnapshot()
{
    const InstallProgress progress = PollInstallProgress();
    Snapshot snapshot;
    snapshot.phase = progress.phase;
    snapshot.percent = OverallPercent();
    snapshot.statusText = StatusText(config_.language, progress.phase);
    const float q = PhaseProgress(progress.phase, snapshot.percent, !progress.downloadWeights.empty());
    const uint32_t now = GetTickCount();
    if (progress.estimateStartTime == 0)
        SetProgressEstimateStart(now);
    snapshot.timeText = TimeRemainingText(config_.language, progress.estimateStartTime, now, q);
    return snapshot;
}

bool CStatusPanel::Poll()
{
    const Snapshot snapshot = TakeSnapshot();
    progressBar.position = ProgressBarPosition(snapshot.percent);
    if (progressBar.Hwnd()) {
        InvalidateRect(progressBar.Hwnd(), nullptr, FALSE);
        UpdateWindow(progressBar.Hwnd());
    }
    ShowLabelNow(percentLabel, PercentText(snapshot.percent));
    ShowLabelNow(statusLabel, snapshot.statusText);
    ShowLabelNow(timeLabel, snapshot.timeText);
    if (!IsFinalPhase(snapshot.phase))
        return true;
    FinishRun(snapshot.phase);
    return false;
}

void CStatusPanel::FinishRun(PipelinePhase phase)
{
    runFinished_ = true;
    controller.WaitForWorker();
    PublishRunResults(controller);
    WizardResult& result = TheWizardResult();
    if (phase == PipelinePhase::Failed || phase == PipelinePhase::Cancelled) {
        result.outcome = phase == PipelinePhase::Failed ? WizardOutcome::Failed : WizardOutcome::Cancelled;
        CloseWizard();
        return;
    }
    result.outcome = WizardOutcome::Finished;
    result.restartRequired = controller.restartRequired != 0;
    if (flags_.launchAfterInstall) {
        std::wstring folder = config_.installFolder;
        if (!folder.empty() && folder.back() == L'\\')
            folder.pop_back();
        LaunchInstalledProgram(folder + L"\\" + config_.manifest.mainComponentExecutable);
        CloseWizard();
    } else if (flags_.silentMode) {
        CloseWizard();
    } else {
        GoToNextPanel();
    }
}

void CStatusPanel::CloseWizard()
{
    if (CInstallGuide* guide = Guide())
        guide->CloseGuide();
}

bool CStatusPanel::QueryClose()
{
    if (controller.cancelConfirmed)
        return false;
    if (IsFinalPhase(CurrentPipelinePhase()))
        return true;
    ResetEvent(controller.runEvent.Get());
    const int answer = Notify(LoadUIString(config_.language, UIStringId::MessageCancelNotice),
                              config_.manifest.shortName, MB_YESNO | MB_ICONEXCLAMATION, Hwnd());
    if (answer == IDYES) {
        if (IsFinalPhase(CurrentPipelinePhase()))
            return true;
        controller.cancelConfirmed = 1;
        RequestCancel(controller);
        return false;
    }
    SetEvent(controller.runEvent.Get());
    return false;
}
