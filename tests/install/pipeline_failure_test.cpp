// How an installation run ends when something goes wrong or the user
// cancels: the phase it ends in, what the user was shown, and that nothing
// was installed or recorded by a run that did not finish.
#include <windows.h>
#include <msi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "base/debug_trace.h"
#include "config/installer_config.h"
#include "config/run_flags.h"
#include "i18n/ui_string_lookup.h"
#include "install/pipeline_fixture.h"
#include "support/local_test_server.h"
#include "support/process_helpers.h"

using namespace pipeline_test;
using testing_support::FileExists;

namespace {

const std::wstring kConnectError = std::wstring(UIStringEntryFor(UIStringId::ErrConnectDownloadServer).defaultText);

bool FolderIsEmpty(const std::wstring& folder)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return true;
    bool empty = true;
    do {
        std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            empty = false;
    } while (empty && FindNextFileW(search, &found));
    FindClose(search);
    return empty;
}

}  // namespace

// The server cannot be reached, or a package cannot be downloaded: the run
// fails with reason 4 and says so in one box captioned with the product's
// short name; nothing is installed or recorded.
TEST_F(PipelineTest, UnreachableServerOrFailedDownloadFailsWithTheConnectMessage)
{
    struct Case {
        const char* name;
        bool versionFileReachable;
        const char* packageRule;  // of the package path
    };
    const Case cases[] = {
        {"server down at the version check", false, "file=pictora_maxora_1.msi"},
        {"package missing on the server", true, "status=404"},
        {"connection dropped in the package every time, no ranges", true, "size=300000&cut=100000&noranges=1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ServeText("version.xml", VersionFileText("9.1.0.100", "1.0.0.0"));
        ServeRule("pictora_maxora_1.msi", c.packageRule);
        TestManifest parts;
        if (!c.versionFileReachable)
            parts.versionCheckPath = "http://127.0.0.1:" + std::to_string(net_test::UnusedPort()) + "/version.xml";
        ASSERT_NO_FATAL_FAILURE(LoadProduct(parts));
        TheConfig().hasLanguageChoice = 0;
        boxes->boxes.clear();

        PipelineRun run = Drive();

        EXPECT_EQ(run.last.phase, PipelinePhase::Failed) << PhaseName(run.last.phase);
        EXPECT_EQ(controller->failureReason, 4);
        ASSERT_EQ(boxes->boxes.size(), 1u);
        EXPECT_EQ(boxes->boxes[0].text, kConnectError);
        EXPECT_EQ(boxes->boxes[0].caption, L"Pictora Maxora");
        EXPECT_EQ(boxes->boxes[0].style, static_cast<UINT>(MB_ICONERROR));
        EXPECT_TRUE(InstalledVersion(kProductCode).empty());
        EXPECT_FALSE(ReadString(HKEY_LOCAL_MACHINE, RegistryKeyPath(), L"InstallDir"));
        if (!c.versionFileReachable) {
            EXPECT_FALSE(run.Saw(PipelinePhase::Downloading));
            EXPECT_EQ(Requests("pictora_maxora_1.msi"), 0);
        }
        controller.reset();
    }
}

// The version check's verdicts stop the run before anything is downloaded,
// each with its own question captioned "Windows Installer".
TEST_F(PipelineTest, VersionVerdictsStopTheRunWithTheirMessage)
{
    struct Case {
        const char* name;
        std::string minInstallerVersion;
        int existingInstall;
        std::wstring expectedText;
    };
    const Case cases[] = {
        {"installer too old", "1.0.0.9", 0, std::wstring(UIStringEntryFor(UIStringId::ErrClientTooOld).defaultText)},
        {"the same version installed", "1.0.0.0", 1, L"Pictora Maxora is already installed. Would you like to launch it?"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ServeText("version.xml", VersionFileText("9.1.0.100", c.minInstallerVersion));
        Serve("pictora_maxora_1.msi", "pictora_maxora_1.msi");
        ASSERT_NO_FATAL_FAILURE(LoadProduct(TestManifest()));
        TheRunFlags().existingInstall = c.existingInstall;
        TheConfig().installedVersion = kVersion1;
        boxes->boxes.clear();

        PipelineRun run = Drive();

        EXPECT_EQ(run.last.phase, PipelinePhase::Failed) << PhaseName(run.last.phase);
        EXPECT_EQ(controller->failureReason, 0);
        ASSERT_EQ(boxes->boxes.size(), 1u);
        EXPECT_EQ(boxes->boxes[0].text, c.expectedText);
        EXPECT_EQ(boxes->boxes[0].caption, L"Windows Installer");
        EXPECT_EQ(boxes->boxes[0].style, static_cast<UINT>(MB_OKCANCEL | MB_ICONERROR));
        EXPECT_EQ(Requests("pictora_maxora_1.msi"), 0);
        controller.reset();
        TheRunFlags().existingInstall = 0;
    }
}

// A package the Windows Installer fails: the run fails, the package is
// rolled back (no file of it is left), nothing is recorded and no
// connection error is claimed.
TEST_F(PipelineTest, FailingPackageFailsTheRunAndLeavesNothing)
{
    ServeText("version.xml", VersionFileText("9.1.0.100", "1.0.0.0"));
    Serve("pictora_maxora_failing.msi", "pictora_maxora_failing.msi");
    TestManifest parts;
    parts.mainComponent = "pictora_maxora_failing.msi";
    parts.mainComponentPath = "pictora_maxora_failing.msi";
    ASSERT_NO_FATAL_FAILURE(LoadProduct(parts));
    TheConfig().hasLanguageChoice = 0;
    testing_support::TempDir logDir;
    SetDebugTraceLogPath(logDir / L"PictoraSetup.log");

    PipelineRun run = Drive();

    SetDebugTraceLogPath(L"");
    EXPECT_EQ(run.last.phase, PipelinePhase::Failed) << PhaseName(run.last.phase);
    EXPECT_EQ(controller->failureReason, 0);
    // The log tells why: the installer's own messages and its result.
    std::string log = testing_support::ReadFileBytes(logDir / L"PictoraSetup.log");
    EXPECT_NE(log.find(" KESTO_DEBUG: MSI Installation failed. Error Code: 1603\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find("Action "), std::string::npos) << "the installer's messages are in the log";
    for (const registry_test::NotifyRecorder::Box& box : boxes->boxes)
        EXPECT_NE(box.text, kConnectError);
    EXPECT_TRUE(InstalledVersion(kFailingProductCode).empty());
    EXPECT_TRUE(FolderIsEmpty(InstallFolder())) << "the rolled-back package left files";
    EXPECT_FALSE(ReadString(HKEY_LOCAL_MACHINE, RegistryKeyPath(), L"InstallDir"));
}

// The cancel question is on screen while a download runs (the download is
// paused), then the user confirms: the paused download wakes up and stops,
// the run ends Cancelled, and no error box appears although the download
// did not complete.
TEST_F(PipelineTest, CancelDuringAPausedDownloadEndsCancelledWithoutABox)
{
    ServeText("version.xml", VersionFileText("9.1.0.100", "1.0.0.0"));
    ServeRule("pictora_maxora_1.msi", "size=8388608&chunk=4096&delay=5");
    ASSERT_NO_FATAL_FAILURE(LoadProduct(TestManifest()));
    TheConfig().hasLanguageChoice = 0;
    bool paused = false;
    int pausedPercent = -1;
    ULONGLONG pausedAt = 0;

    PipelineRun run = Drive(120000, [&](const InstallProgress& progress) {
        if (!paused && progress.phase == PipelinePhase::Downloading && progress.itemPercent > 0) {
            ResetEvent(controller->RunEvent());
            paused = true;
            pausedAt = GetTickCount64();
            Sleep(300);  // a read under way when the pause began may still land
            pausedPercent = PollInstallProgress().itemPercent;
        } else if (paused && pausedAt && GetTickCount64() - pausedAt > 1000) {
            EXPECT_EQ(progress.itemPercent, pausedPercent) << "the paused download went on";
            controller->cancelConfirmed = 1;
            RequestCancel(*controller);
            pausedAt = 0;
        }
    });

    ASSERT_TRUE(paused);
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.last.phase, PipelinePhase::Cancelled) << PhaseName(run.last.phase);
    EXPECT_TRUE(run.Saw(PipelinePhase::Cancelling));
    EXPECT_TRUE(boxes->boxes.empty());
    EXPECT_TRUE(InstalledVersion(kProductCode).empty());
}

// A cancel while the Windows Installer works: from then on its progress
// messages are answered with a cancel (on Windows it then rolls the package
// back and returns its user-exit error), and the run ends Cancelled with no
// error box. Wine's Windows Installer does not act on the answer (it
// installs the package to its end), so what it leaves is not checked here;
// the run then passes its stages and its late Finished becomes Cancelled.
TEST_F(PipelineTest, CancelDuringThePackageIsAnsweredAtItsNextProgressMessage)
{
    ServeText("version.xml", VersionFileText("9.1.0.100", "1.0.0.0"));
    Serve("pictora_maxora_1.msi", "pictora_maxora_1.msi");
    ASSERT_NO_FATAL_FAILURE(LoadProduct(TestManifest()));
    TheConfig().hasLanguageChoice = 0;
    std::vector<int> progressAnswers;
    controller->installerMessageHook = [this, &progressAnswers](UINT messageType, int answer) {
        if ((messageType & 0xFF000000) != INSTALLMESSAGE_PROGRESS)
            return;
        progressAnswers.push_back(answer);
        if (progressAnswers.size() == 1)
            RequestCancel(*controller);
    };

    PipelineRun run = Drive();

    ASSERT_GE(progressAnswers.size(), 2u) << "the Windows Installer sent too few progress messages";
    EXPECT_EQ(progressAnswers[0], 1);
    for (size_t i = 1; i < progressAnswers.size(); ++i)
        EXPECT_EQ(progressAnswers[i], 2) << "progress message " << i;
    EXPECT_EQ(run.last.phase, PipelinePhase::Cancelled) << PhaseName(run.last.phase);
    EXPECT_TRUE(run.Saw(PipelinePhase::Cancelling) ||
                run.phases.back() == PipelinePhase::Cancelled);
    EXPECT_TRUE(boxes->boxes.empty());
}

// A cancel before the run starts leaves the record Cancelled at once when
// the controller has no events, and a run that is cancelled before its
// first item stops without downloading anything.
TEST_F(PipelineTest, CancelBeforeTheFirstItemDownloadsNothing)
{
    ServeText("version.xml", VersionFileText("9.1.0.100", "1.0.0.0"));
    Serve("pictora_maxora_1.msi", "pictora_maxora_1.msi");
    ASSERT_NO_FATAL_FAILURE(LoadProduct(TestManifest()));
    RequestCancel(*controller);

    PipelineRun run = Drive();

    EXPECT_EQ(run.last.phase, PipelinePhase::Cancelled) << PhaseName(run.last.phase);
    EXPECT_EQ(Requests("pictora_maxora_1.msi"), 0);
    EXPECT_TRUE(boxes->boxes.empty());
}
