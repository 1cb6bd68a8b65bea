// The wizard as real windows: which page it opens on, its size, the silent
// mode, the settings page's licence box, fold-out and folder check.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "config/installer_config.h"
#include "config/run_flags.h"
#include "support/process_helpers.h"
#include "support/registry_test_support.h"
#include "base/notifier.h"
#include "ui/dpi.h"
#include "ui/theme.h"
#include "wizard/install_guide.h"
#include "wizard/panel_geometry.h"
#include "install/shared_progress.h"
#include "wizard/exit_code.h"
#include "wizard/setting_panel.h"
#include "wizard/status_panel.h"
#include "wizard/success_panel.h"

using registry_test::NotifyRecorder;
using testing_support::IsFolder;
using testing_support::TempDir;

namespace {

void PumpMessages()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// The guide made as a window of its own (no modal loop), so that a test
// can look at it and act on it between messages.
class GuideWindow : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        WNDCLASSW info{};
        if (GetClassInfoW(nullptr, MAKEINTATOM(0x8002), &info)) {
            info.lpszClassName = L"ZYLMasterInstallerClassName";
            RegisterClassW(&info);
        }
        InstallThemePalette();
        CreateThemeFonts();
    }

    void Open()
    {
        config.manifest.fullName = L"Pictora Maxora";
        config.manifest.shortName = L"Pictora";
        config.installFolder = folder.Path();
        guide = std::make_unique<CInstallGuide>(config, flags);
        ASSERT_TRUE(guide->Create(nullptr));
        if (!flags.silentMode)
            ShowWindow(guide->Hwnd(), SW_SHOW);
        PumpMessages();
    }
    void TearDown() override
    {
        if (guide && guide->Hwnd())
            DestroyWindow(guide->Hwnd());
        PumpMessages();
    }

    SIZE WindowSize() const
    {
        RECT r{};
        GetWindowRect(guide->Hwnd(), &r);
        return {r.right - r.left, r.bottom - r.top};
    }
    PanelScale Scale() const { return PanelScale{CachedScreenDpi().x, CachedScreenDpi().y}; }
    CSettingPanel& Settings() const { return *static_cast<CSettingPanel*>(guide->Panel(0)); }
    CStatusPanel& Status() const { return *static_cast<CStatusPanel*>(guide->Panel(1)); }
    CSuccessPanel& Success() const { return *static_cast<CSuccessPanel*>(guide->Panel(2)); }

    TempDir folder;
    InstallerConfig config;
    RunFlags flags;
    std::unique_ptr<CInstallGuide> guide;
};

TEST_F(GuideWindow, OpensOnTheSettingsPageAtItsSize)
{
    Open();
    EXPECT_EQ(guide->CurrentPanelIndex(), 0);
    EXPECT_TRUE(IsWindowVisible(guide->Panel(0)->Hwnd()));
    EXPECT_FALSE(IsWindowVisible(guide->Panel(1)->Hwnd()));
    EXPECT_FALSE(guide->showCaptionTitle);
    const SIZE expected = GuideWindowSize(Scale(), SettingsPanelSize(Scale(), false));
    EXPECT_EQ(WindowSize().cx, expected.cx);
    EXPECT_EQ(WindowSize().cy, expected.cy);
    wchar_t title[64] = {};
    GetWindowTextW(guide->Hwnd(), title, 64);
    EXPECT_STREQ(title, L"Pictora Maxora");
    wchar_t className[64] = {};
    GetClassNameW(guide->Hwnd(), className, 64);
    EXPECT_STREQ(className, L"ZYLMasterInstallerClassName");
}

TEST_F(GuideWindow, AnInstalledProductOrTheSilentModeStartsOnTheStatusPage)
{
    const struct {
        int existing;
        int silent;
    } cases[] = {{1, 0}, {0, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.silent);
        flags = RunFlags{};
        flags.existingInstall = c.existing;
        flags.silentMode = c.silent;
        Open();
        EXPECT_EQ(guide->CurrentPanelIndex(), 1);
        EXPECT_TRUE(guide->showCaptionTitle);
        const LONG_PTR exStyle = GetWindowLongPtrW(guide->Hwnd(), GWL_EXSTYLE);
        if (c.silent) {
            EXPECT_FALSE(IsWindowVisible(guide->Hwnd()));
            EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
            EXPECT_FALSE(exStyle & WS_EX_APPWINDOW);
        } else {
            EXPECT_TRUE(exStyle & WS_EX_APPWINDOW);
        }
        DestroyWindow(guide->Hwnd());
        PumpMessages();
        guide.reset();
    }
}

TEST_F(GuideWindow, PagesOnlyMoveForward)
{
    Open();
    ASSERT_TRUE(guide->ShowPanel(2));
    guide->Panel(2)->GoToNextPanel();
    EXPECT_EQ(guide->CurrentPanelIndex(), 2);
    EXPECT_FALSE(guide->ShowPanel(3));
    EXPECT_EQ(guide->CurrentPanelIndex(), 2);
    EXPECT_FALSE(IsWindowVisible(guide->Panel(0)->Hwnd()));
}

TEST_F(GuideWindow, FoldingTheSettingsShortensTheWizard)
{
    Open();
    const SIZE before = WindowSize();
    Settings().ToggleSettings();
    EXPECT_EQ(WindowSize().cy, before.cy - StepScaleY(86));
    EXPECT_EQ(WindowSize().cx, before.cx);
    Settings().ToggleSettings();
    EXPECT_EQ(WindowSize().cy, before.cy);
}

TEST_F(GuideWindow, TheLicenceBoxEnablesTheInstallButton)
{
    Open();
    CSettingPanel& page = Settings();
    page.licenceAccepted = 1;
    page.UpdateLicenceState();
    EXPECT_TRUE(IsWindowEnabled(page.installButton.Hwnd()));
    SendMessageW(page.Hwnd(), WM_COMMAND, MAKEWPARAM(134, BN_CLICKED), reinterpret_cast<LPARAM>(page.licenceCheck.Hwnd()));
    EXPECT_EQ(page.licenceAccepted, 0);
    EXPECT_FALSE(IsWindowEnabled(page.installButton.Hwnd()));
    EXPECT_EQ(page.installButton.enabled, 0);
    // Without acceptance the folder is not even looked at.
    EXPECT_FALSE(page.ValidateAndCreateFolder());
}

TEST_F(GuideWindow, InstallChecksTheFolderAndMovesOn)
{
    Open();
    CSettingPanel& page = Settings();
    page.licenceAccepted = 1;
    page.UpdateLicenceState();
    NotifyRecorder boxes;

    // A relative path is refused with the message, and the field shows the
    // last valid folder again.
    SetWindowTextW(page.folderEdit.Hwnd(), L"relative\\folder");
    EXPECT_FALSE(page.ValidateAndCreateFolder());
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, L"The specified path relative\\folder is unavailable.");
    EXPECT_EQ(boxes.boxes[0].caption, L"Pictora");
    EXPECT_EQ(boxes.boxes[0].style, static_cast<UINT>(MB_ICONWARNING | MB_OK));
    wchar_t field[MAX_PATH] = {};
    GetWindowTextW(page.folderEdit.Hwnd(), field, MAX_PATH);
    EXPECT_EQ(std::wstring(field), folder.Path());

    // A new folder two levels deep, typed with a trailing backslash: made,
    // stored without the backslash, and Install moves to the status page.
    const std::wstring target = folder.Path() + L"\\Pictora\\Maxora";
    SetWindowTextW(page.folderEdit.Hwnd(), (target + L"\\").c_str());
    SendMessageW(page.Hwnd(), WM_COMMAND, MAKEWPARAM(133, BN_CLICKED), reinterpret_cast<LPARAM>(page.installButton.Hwnd()));
    EXPECT_TRUE(IsFolder(target));
    EXPECT_EQ(config.installFolder, target);
    EXPECT_EQ(guide->CurrentPanelIndex(), 1);
    EXPECT_EQ(boxes.boxes.size(), 1u);
}

TEST_F(GuideWindow, EnterAndEscapeInAPageCloseNothing)
{
    Open();
    HWND page = guide->Panel(0)->Hwnd();
    SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    PumpMessages();
    EXPECT_TRUE(IsWindow(page));
    EXPECT_TRUE(IsWindow(guide->Hwnd()));
}

TEST_F(GuideWindow, APollShowsTheRecordAndAFailureClosesTheWizard)
{
    Open();
    TheWizardResult() = WizardResult{};
    StartProgressRecord({100}, {100}, false);
    ReportProgress(PipelinePhase::Downloading, 0, 50, L"pictora.msi");
    CStatusPanel& page = Status();
    EXPECT_TRUE(page.Poll());
    EXPECT_EQ(page.percentLabel.text, L"25.0%");
    EXPECT_EQ(page.progressBar.position, 250);
    EXPECT_EQ(page.statusLabel.text, L"Downloading, please wait...");
    EXPECT_EQ(page.timeLabel.text, L"01 secs remaining...");
    EXPECT_TRUE(IsWindow(guide->Hwnd()));

    EndProgressRecord(false);
    EXPECT_FALSE(page.Poll());
    EXPECT_EQ(page.statusLabel.text, L"Install failed.");
    EXPECT_FALSE(IsWindow(guide->Hwnd())) << "a failed run closes the wizard";
    EXPECT_EQ(TheWizardResult().ExitCode(), 1603);
}

// The worker's message at the end of the run is a poll of its own: the
// wizard acts on the final phase without waiting for the poll timer.
TEST_F(GuideWindow, TheEndOfTheRunIsActedOnWithoutWaitingForThePollTimer)
{
    Open();
    TheWizardResult() = WizardResult{};
    StartProgressRecord({100}, {100}, false);
    EndProgressRecord(false);
    CStatusPanel& page = Status();
    ASSERT_EQ(page.controller.endNotifyWindow, page.Hwnd()) << "the panel asks to be told";
    PostMessageW(page.Hwnd(), page.controller.endNotifyMessage, 0, 0);
    // Only posted messages: no timer of the panel is due.
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, WM_TIMER - 1, PM_REMOVE) ||
           PeekMessageW(&message, nullptr, WM_TIMER + 1, 0xFFFF, PM_REMOVE))
        DispatchMessageW(&message);
    EXPECT_FALSE(IsWindow(guide->Hwnd())) << "the failed run closed the wizard";
    EXPECT_EQ(TheWizardResult().ExitCode(), 1603);
}

TEST_F(GuideWindow, TheCancelQuestionPausesAndCancelsOnce)
{
    Open();
    StartProgressRecord({100}, {100}, false);
    ReportProgress(PipelinePhase::Downloading, 0, 10, L"pictora.msi");
    CStatusPanel& page = Status();
    HANDLE run = page.controller.runEvent.Get();
    bool pausedWhileAsked = false;
    int answer = IDNO;
    int asked = 0;
    SetNotifyHandler([&](const std::wstring& text, const std::wstring& caption, UINT style) {
        ++asked;
        pausedWhileAsked = WaitForSingleObject(run, 0) == WAIT_TIMEOUT;
        EXPECT_EQ(text, L"Are you sure you want to cancel the installation?");
        EXPECT_EQ(caption, L"Pictora");
        EXPECT_EQ(style, static_cast<UINT>(MB_YESNO | MB_ICONEXCLAMATION));
        return answer;
    });

    // No: the downloads go on.
    EXPECT_FALSE(page.QueryClose());
    EXPECT_TRUE(pausedWhileAsked);
    EXPECT_EQ(WaitForSingleObject(run, 0), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_EQ(CurrentPipelinePhase(), PipelinePhase::Downloading);

    // Yes: the run is cancelled, the wizard stays until the run says so,
    // and a second request asks nothing.
    answer = IDYES;
    EXPECT_FALSE(page.QueryClose());
    EXPECT_EQ(CurrentPipelinePhase(), PipelinePhase::Cancelling);
    EXPECT_EQ(page.controller.cancelConfirmed, 1);
    EXPECT_FALSE(page.QueryClose());
    EXPECT_EQ(asked, 2);
    SetNotifyHandler({});

    // The status line follows the run: cancelling at the next poll, then
    // cancelled when the worker has ended, and the wizard closes with 1602.
    TheWizardResult() = WizardResult{};
    EXPECT_TRUE(page.Poll());
    EXPECT_EQ(page.statusLabel.text, L"Cancelling...");
    EXPECT_TRUE(IsWindow(guide->Hwnd()));
    EndProgressRecord(false);
    EXPECT_FALSE(page.Poll());
    EXPECT_EQ(page.statusLabel.text, L"Cancelled.");
    EXPECT_FALSE(IsWindow(guide->Hwnd()));
    EXPECT_EQ(TheWizardResult().ExitCode(), 1602);
}

TEST_F(GuideWindow, SuccessPageOpensTheHomePageOnceAndCloses)
{
    Open();
    guide->ShowPanel(2);
    CSuccessPanel& page = Success();
    EXPECT_EQ(page.ReadySentence(), L"Pictora is ready");
    EXPECT_FALSE(page.OpenHomePage()) << "no address, nothing to open";
    config.homePageUrl = L"http://127.0.0.1:9/home";
    flags.existingInstall = 1;
    EXPECT_FALSE(page.OpenHomePage()) << "never for a product that was installed before";
    flags.existingInstall = 0;
    EXPECT_TRUE(page.OpenHomePage());
    EXPECT_FALSE(page.OpenHomePage());
    EXPECT_TRUE(page.QueryClose());

    // The stored folder loses its backslash; the program is missing, so
    // nothing starts, and the wizard closes all the same.
    config.installFolder = folder.Path() + L"\\";
    page.LaunchAndClose();
    EXPECT_EQ(config.installFolder, folder.Path());
    EXPECT_FALSE(IsWindow(guide->Hwnd()));
}

}  // namespace
