// Unattended installations under Wine: the exit codes of the prerequisite
// and language-pack installers, a busy Windows Installer waited out, the
// restart a package or a prerequisite asks for, the main package's
// properties; the run's log read back each time.
#include <gtest/gtest.h>

#include <windows.h>

#include <msi.h>

#include <atomic>
#include <cstring>
#include <string>
#include <vector>

#include "base/notifier.h"
#include "config/installer_config.h"
#include "install/pipeline_fixture.h"
#include "support/process_helpers.h"

using namespace pipeline_test;

namespace {

// Sets an environment variable of this process (inherited by the fixture
// programs) while it lives.
class ScopedEnvironment {
public:
    ScopedEnvironment(const wchar_t* name, const std::wstring& value) : name_(name)
    {
        SetEnvironmentVariableW(name_, value.c_str());
    }
    ~ScopedEnvironment() { SetEnvironmentVariableW(name_, nullptr); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const wchar_t* name_;
};

int CountRecords(const std::vector<std::string>& records, const std::string& program)
{
    int count = 0;
    for (const std::string& line : records)
        if (line.substr(0, line.find('\t')).find(program) != std::string::npos)
            ++count;
    return count;
}

class DeployPipeline : public PipelineTest {
protected:
    // A product whose one missing prerequisite is the WebView2 runtime
    // (what a run before installed is taken away; the fixture puts back
    // what the machine had).
    void LoadWithPrerequisite()
    {
        RegDeleteKeyValueW(HKEY_CURRENT_USER,
                           L"Software\\Microsoft\\EdgeUpdate\\Clients\\{F3017226-FE2A-4295-8BDF-00C3A9A7E4C5}", L"pv");
        ServeText("version.xml", VersionFileText("9.1.0.100", "1.0.0.0"));
        Serve("pictora_maxora_1.msi", "pictora_maxora_1.msi");
        Serve("webview2.exe", "webview2.exe");
        TestManifest parts;
        parts.dependencies = {{"webview2.exe", "", "webview2.exe", "/silent /install"}};
        ASSERT_NO_FATAL_FAILURE(LoadProduct(parts));
        TheConfig().hasLanguageChoice = 0;
        controller->busyWait = {50, 300};
    }
};

TEST_F(DeployPipeline, PrerequisiteExitCodeDecidesTheRun)
{
    struct Case {
        const char* code;
        bool finished;
        int restart;
    } cases[] = {
        {"0", true, 0},
        {"1638", true, 0},
        {"3010", true, 1},
        {"1641", true, 1},
        {"1603", false, 0},
        {"5", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        LogCapture log;
        ASSERT_NO_FATAL_FAILURE(LoadWithPrerequisite());
        ScopedEnvironment code(L"PICTORA_FIXTURE_EXIT_CODE", std::wstring(c.code, c.code + strlen(c.code)));
        // The record file is the test's, across its cases.
        int runsBefore = CountRecords(FixtureRecords(), "webview2.exe");

        PipelineRun run = Drive();

        EXPECT_EQ(run.last.phase, c.finished ? PipelinePhase::Finished : PipelinePhase::Failed)
            << PhaseName(run.last.phase);
        EXPECT_EQ(controller->restartRequired, c.restart);
        EXPECT_EQ(controller->failureReason, c.finished ? 0 : kFailureInstallerFailed);
        EXPECT_EQ(CountRecords(FixtureRecords(), "webview2.exe") - runsBefore, 1);
        EXPECT_TRUE(log.Has(std::string("webview2.exe ended with exit code ") + c.code + ".")) << log.Text();
        // A failed prerequisite stops the run before the main package.
        EXPECT_EQ(InstalledVersion(kProductCode), c.finished ? kVersion1 : L"");
        EXPECT_EQ(log.Has(std::string("prerequisite webview2.exe failed with exit code ") + c.code), !c.finished)
            << log.Text();
        EXPECT_TRUE(boxes->boxes.empty()) << "a failed prerequisite is not the connection error";
        RemoveProduct(kProductCode);
    }
}

// 1618 from the prerequisite's own installer: it is run again at the
// interval until the time allowed is up, then the run fails.
TEST_F(DeployPipeline, PrerequisiteThatStaysBusyIsRunAgainThenFailsTheRun)
{
    LogCapture log;
    ASSERT_NO_FATAL_FAILURE(LoadWithPrerequisite());
    controller->busyWait = {100, 300};
    ScopedEnvironment code(L"PICTORA_FIXTURE_EXIT_CODE", L"1618");

    PipelineRun run = Drive();

    EXPECT_EQ(run.last.phase, PipelinePhase::Failed) << PhaseName(run.last.phase);
    EXPECT_EQ(CountRecords(FixtureRecords(), "webview2.exe"), 4) << "one try and three after waits";
    EXPECT_EQ(log.Count("webview2.exe is tried again"), 3) << log.Text();
    EXPECT_TRUE(log.Has("webview2.exe is given up")) << log.Text();
    EXPECT_TRUE(InstalledVersion(kProductCode).empty());
    EXPECT_EQ(controller->failureReason, kFailureInstallerFailed);
}

// A language pack that fails is logged; the product is installed anyway.
TEST_F(DeployPipeline, FailingLanguagePackIsLoggedAndTheRunFinishes)
{
    LogCapture log;
    ServeText("version.xml", VersionFileText("9.1.0.100", "1.0.0.0"));
    Serve("pictora_maxora_1.msi", "pictora_maxora_1.msi");
    Serve("language_pack_de.exe", "language_pack.exe");
    TestManifest parts;
    parts.languagePacks = {{"1031", "Deutsch", "language_pack_de.exe", ""}};
    ASSERT_NO_FATAL_FAILURE(LoadProduct(parts));
    TheConfig().hasLanguageChoice = 1;
    TheConfig().language.langId = 1031;
    ScopedEnvironment code(L"PICTORA_FIXTURE_EXIT_CODE", L"1603");

    PipelineRun run = Drive();

    EXPECT_EQ(run.last.phase, PipelinePhase::Finished) << PhaseName(run.last.phase);
    EXPECT_EQ(InstalledVersion(kProductCode), kVersion1);
    EXPECT_EQ(CountRecords(FixtureRecords(), "language_pack_1031.exe"), 1);
    EXPECT_TRUE(log.Has("language_pack_1031.exe ended with exit code 1603.")) << log.Text();
    EXPECT_TRUE(log.Has("failed (exit code 1603); the installation goes on without it")) << log.Text();
    EXPECT_EQ(controller->failureReason, 0);
    EXPECT_EQ(controller->restartRequired, 0);
}

// The main package's call answers 1618 twice (another installation holds
// the Windows Installer), then the real call installs it. The answers come
// from the call's seam: Wine's Windows Installer installs even while
// another process holds the "Global\_MSIExecute" mutex, so a real busy
// answer cannot be brought about here.
TEST_F(DeployPipeline, BusyWindowsInstallerIsWaitedOutForTheMainPackage)
{
    LogCapture log;
    ServeText("version.xml", VersionFileText("9.1.0.100", "1.0.0.0"));
    Serve("pictora_maxora_1.msi", "pictora_maxora_1.msi");
    ASSERT_NO_FATAL_FAILURE(LoadProduct(TestManifest{}));
    TheConfig().hasLanguageChoice = 0;
    controller->busyWait = {100, 60000};
    std::vector<ULONGLONG> calls;
    std::wstring passedProperties;
    controller->installerCall = [&](const std::wstring& package, const std::wstring& properties) -> UINT {
        calls.push_back(GetTickCount64());
        passedProperties = properties;
        if (calls.size() <= 2)
            return 1618;
        return MsiInstallProductW(package.c_str(), properties.c_str());
    };

    PipelineRun run = Drive();

    ASSERT_EQ(run.last.phase, PipelinePhase::Finished) << PhaseName(run.last.phase);
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_GE(calls[1] - calls[0] + 20, 100u) << "not waited for the interval";
    EXPECT_GE(calls[2] - calls[1] + 20, 100u) << "not waited for the interval";
    EXPECT_EQ(InstalledVersion(kProductCode), kVersion1);
    EXPECT_EQ(log.Count("pictora_maxora_1.msi is tried again"), 2) << log.Text();
    EXPECT_TRUE(log.Has("the Windows Installer answered 0 for pictora_maxora_1.msi")) << log.Text();
    // The package never restarts the machine itself.
    EXPECT_NE(passedProperties.find(L" REBOOT=ReallySuppress"), std::wstring::npos);
    EXPECT_EQ(controller->restartRequired, 0);
}

// A cancel while the busy Windows Installer is waited for ends the run at
// once, without installing.
TEST_F(DeployPipeline, CancelWhileWaitingForABusyWindowsInstaller)
{
    LogCapture log;
    ServeText("version.xml", VersionFileText("9.1.0.100", "1.0.0.0"));
    Serve("pictora_maxora_1.msi", "pictora_maxora_1.msi");
    ASSERT_NO_FATAL_FAILURE(LoadProduct(TestManifest{}));
    TheConfig().hasLanguageChoice = 0;
    controller->busyWait = {60000, 300000};
    std::atomic<int> calls{0};
    controller->installerCall = [&](const std::wstring&, const std::wstring&) -> UINT {
        ++calls;
        return 1618;
    };
    ULONGLONG cancelledAt = 0;
    PipelineRun run = Drive(120000, [&](const InstallProgress&) {
        if (!cancelledAt && calls > 0) {
            RequestCancel(*controller);
            cancelledAt = GetTickCount64();
        }
    });
    ULONGLONG ended = GetTickCount64();

    ASSERT_NE(cancelledAt, 0u);
    EXPECT_EQ(run.last.phase, PipelinePhase::Cancelled) << PhaseName(run.last.phase);
    EXPECT_LT(ended - cancelledAt, 5000u) << "the interval was waited out";
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(log.Has("cancelled while waiting to install pictora_maxora_1.msi")) << log.Text();
    EXPECT_TRUE(InstalledVersion(kProductCode).empty());
}

// 3010 and 1641 from the main package's call: a restart completes it.
// (1641 counts as a failed call; the restart is still to come.)
TEST_F(DeployPipeline, MainPackageAskingForARestartSetsTheFlag)
{
    struct Case {
        UINT result;
        PipelinePhase phase;
        int restart;
    } cases[] = {
        {ERROR_SUCCESS, PipelinePhase::Finished, 0},
        {ERROR_SUCCESS_REBOOT_REQUIRED, PipelinePhase::Finished, 1},
        {ERROR_SUCCESS_REBOOT_INITIATED, PipelinePhase::Failed, 1},
        {ERROR_INSTALL_FAILURE, PipelinePhase::Failed, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.result);
        LogCapture log;
        ServeText("version.xml", VersionFileText("9.1.0.100", "1.0.0.0"));
        Serve("pictora_maxora_1.msi", "pictora_maxora_1.msi");
        ASSERT_NO_FATAL_FAILURE(LoadProduct(TestManifest{}));
        TheConfig().hasLanguageChoice = 0;
        // The package is installed for real; the answer is the case's.
        controller->installerCall = [&](const std::wstring& package, const std::wstring& properties) -> UINT {
            UINT real = MsiInstallProductW(package.c_str(), properties.c_str());
            return real == ERROR_SUCCESS ? c.result : real;
        };

        PipelineRun run = Drive();

        EXPECT_EQ(run.last.phase, c.phase) << PhaseName(run.last.phase);
        EXPECT_EQ(controller->restartRequired, c.restart);
        EXPECT_TRUE(log.Has("the Windows Installer answered " + std::to_string(c.result) + " for")) << log.Text();
        EXPECT_EQ(log.Has("a restart of the machine completes the installation"), c.restart == 1) << log.Text();
        RemoveProduct(kProductCode);
    }
}

}  // namespace

namespace {

// A prerequisite whose file is no program cannot be started: the run
// fails before the main package, as for a failed installer.
TEST_F(DeployPipeline, PrerequisiteThatCannotBeStartedFailsTheRun)
{
    LogCapture log;
    RegDeleteKeyValueW(HKEY_CURRENT_USER,
                       L"Software\\Microsoft\\EdgeUpdate\\Clients\\{F3017226-FE2A-4295-8BDF-00C3A9A7E4C5}", L"pv");
    ServeText("version.xml", VersionFileText("9.1.0.100", "1.0.0.0"));
    Serve("pictora_maxora_1.msi", "pictora_maxora_1.msi");
    ServeRule("webview2.exe", "size=4096");
    TestManifest parts;
    parts.dependencies = {{"webview2.exe", "", "webview2.exe", "/silent /install"}};
    ASSERT_NO_FATAL_FAILURE(LoadProduct(parts));
    TheConfig().hasLanguageChoice = 0;

    PipelineRun run = Drive();

    EXPECT_EQ(run.last.phase, PipelinePhase::Failed) << PhaseName(run.last.phase);
    EXPECT_EQ(controller->failureReason, kFailureInstallerFailed);
    EXPECT_TRUE(log.Has("webview2.exe could not be started")) << log.Text();
    EXPECT_TRUE(log.Has("prerequisite webview2.exe did not run; the run fails")) << log.Text();
    EXPECT_TRUE(InstalledVersion(kProductCode).empty());
}

}  // namespace

namespace {

// A quiet run shows no box: the version check's box and the connection
// error are written to the log, answered with the choice that stops.
TEST_F(DeployPipeline, QuietRunAnswersTheEnginesBoxesInTheLog)
{
    struct Case {
        const char* what;
        bool serverThere;
        std::string minInstallerVersion;
        const char* logged;
    } cases[] = {
        {"installer too old", true, "1.0.0.9", "caption \"Windows Installer\", answered IDCANCEL:"},
        {"server unreachable", false, "1.0.0.0", "caption \"Pictora Maxora\", answered IDOK:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LogCapture log;
        if (c.serverThere)
            ServeText("version.xml", VersionFileText("9.1.0.100", c.minInstallerVersion));
        else
            ServeRule("version.xml", "status=404");
        Serve("pictora_maxora_1.msi", "pictora_maxora_1.msi");
        ASSERT_NO_FATAL_FAILURE(LoadProduct(TestManifest()));
        boxes->boxes.clear();
        SetQuietNotifications(true);

        PipelineRun run = Drive();
        SetQuietNotifications(false);

        EXPECT_EQ(run.last.phase, PipelinePhase::Failed) << PhaseName(run.last.phase);
        EXPECT_TRUE(boxes->boxes.empty()) << "a box was shown in a quiet run";
        EXPECT_EQ(log.Count("message box not shown (quiet run)"), 1) << log.Text();
        EXPECT_TRUE(log.Has(c.logged)) << log.Text();
        EXPECT_TRUE(InstalledVersion(kProductCode).empty());
        controller.reset();
    }
}

}  // namespace
