// What an elevated installation does not let through: a run without its
// main package, records that cannot be written, a hung prerequisite, an
// exception on the worker, a planted msiexec, and a box of the worker's
// while the window's thread waits for it.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <new>
#include <thread>

#include "base/debug_trace.h"
#include "base/notifier.h"
#include "config/installer_config.h"
#include "install/pipeline_fixture.h"
#include "install/process_command_line.h"
#include "support/process_helpers.h"

using namespace pipeline_test;
using testing_support::BinaryDir;
using testing_support::CopyFileTo;
using testing_support::FileExists;
using testing_support::ReadFileBytes;
using testing_support::TempDir;

namespace {

// A standalone package whose main package is not there fails; it is not
// counted as installed.
TEST_F(PipelineTest, AMissingMainPackageFailsTheRun)
{
    LogCapture log;
    TestManifest parts;
    parts.standalone = true;
    ASSERT_NO_FATAL_FAILURE(LoadProduct(parts));
    TheConfig().hasLanguageChoice = 0;

    PipelineRun run = Drive();

    EXPECT_EQ(run.last.phase, PipelinePhase::Failed) << PhaseName(run.last.phase);
    EXPECT_FALSE(ReadString(HKEY_LOCAL_MACHINE, RegistryKeyPath(), L"InstallDir")) << "nothing is recorded";
    EXPECT_TRUE(log.Has("the main package is missing, the run fails")) << log.Text();
}

// Records that cannot be written fail the run, although the package went in.
TEST_F(PipelineTest, ARegistryRecordThatCannotBeWrittenFailsTheRun)
{
    LogCapture log;
    ServeText("version.xml", VersionFileText("9.1.0.100", "1.0.0.0"));
    Serve("pictora_maxora_1.msi", "pictora_maxora_1.msi");
    ASSERT_NO_FATAL_FAILURE(LoadProduct({}));
    TheConfig().hasLanguageChoice = 0;
    // A key name longer than the registry takes (255 characters a level).
    TheConfig().manifest.registryKey = RegistryKeyPath() + L"\\" + std::wstring(300, L'k');

    PipelineRun run = Drive();

    EXPECT_EQ(run.last.phase, PipelinePhase::Failed) << PhaseName(run.last.phase);
    EXPECT_TRUE(log.Has("cannot be written")) << log.Text();
    EXPECT_TRUE(log.Has("registry records could not be written; the run fails")) << log.Text();
    EXPECT_TRUE(TheConfig().homePageUrl.empty()) << "a failed run hands over no results";
}

// A prerequisite that hangs does not hold the run: a cancel ends it at
// once, and the program is left running (with a log line).
TEST_F(PipelineTest, ACancelEndsTheWaitForAHungPrerequisite)
{
    LogCapture log;
    ServeText("version.xml", VersionFileText("9.1.0.100", "1.0.0.0"));
    Serve("pictora_maxora_1.msi", "pictora_maxora_1.msi");
    Serve("webview2.exe", "webview2.exe");
    TestManifest parts;
    parts.dependencies = {{"webview2.exe", "", "webview2.exe", "/silent /install"}};
    ASSERT_NO_FATAL_FAILURE(LoadProduct(parts));
    TheConfig().hasLanguageChoice = 0;
    SetEnvironmentVariableW(L"PICTORA_FIXTURE_HANG", L"1");

    ULONGLONG cancelledAt = 0;
    PipelineRun run = Drive(120000, [&](const InstallProgress& progress) {
        if (!cancelledAt && progress.phase == PipelinePhase::Installing && !FixtureRecords().empty()) {
            RequestCancel(*controller);
            cancelledAt = GetTickCount64();
        }
    });
    ULONGLONG ended = GetTickCount64();
    SetEnvironmentVariableW(L"PICTORA_FIXTURE_HANG", nullptr);

    ASSERT_NE(cancelledAt, 0u) << "the prerequisite never started";
    EXPECT_EQ(run.last.phase, PipelinePhase::Cancelled) << PhaseName(run.last.phase);
    EXPECT_LT(ended - cancelledAt, 5000u) << "the run waited for the hung program";
    EXPECT_TRUE(InstalledVersion(kProductCode).empty());
    EXPECT_TRUE(log.Has("it is left running")) << log.Text();
}

// An exception on the worker ends the run as a failure; the process lives on.
TEST_F(PipelineTest, AnExceptionOnTheWorkerFailsTheRun)
{
    LogCapture log;
    ServeText("version.xml", VersionFileText("9.1.0.100", "1.0.0.0"));
    Serve("pictora_maxora_1.msi", "pictora_maxora_1.msi");
    ASSERT_NO_FATAL_FAILURE(LoadProduct({}));
    TheConfig().hasLanguageChoice = 0;
    controller->stageHook = [](const char* stage) {
        if (std::string(stage) == "downloads")
            throw std::bad_alloc();
    };

    PipelineRun run = Drive();

    EXPECT_EQ(run.last.phase, PipelinePhase::Failed) << PhaseName(run.last.phase);
    EXPECT_EQ(Requests("pictora_maxora_1.msi"), 0);
    EXPECT_TRUE(log.Has("stopped on an exception")) << log.Text();
}

// A program called Msiexec.exe beside the installer (a Downloads folder)
// or in the current folder is never started for an .msi prerequisite: the
// system's own msiexec installs it.
TEST_F(PipelineTest, APlantedMsiexecIsNotStarted)
{
    ServeText("version.xml", VersionFileText("9.1.0.100", "1.0.0.0"));
    Serve("pictora_maxora_1.msi", "pictora_maxora_1.msi");
    Serve("bonjour.msi", "bonjour.msi");
    // Planted in the current folder and beside the program that installs
    // (here the test program): the places a search by bare name looks
    // first. The plant records its start as the fixture programs do.
    TempDir downloads;
    const std::wstring plants[] = {downloads / L"Msiexec.exe", BinaryDir() + L"\\Msiexec.exe"};
    for (const std::wstring& plant : plants)
        ASSERT_TRUE(CopyFileTo(BinaryDir() + L"\\fixtures\\install\\webview2.exe", plant));
    wchar_t saved[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, saved);
    ASSERT_TRUE(SetCurrentDirectoryW(downloads.Path().c_str()));
    TestManifest parts;
    parts.dependencies = {{"bonjour.msi", "", "bonjour.msi", "/qn"}};
    ASSERT_NO_FATAL_FAILURE(LoadProduct(parts));
    TheConfig().hasLanguageChoice = 0;

    PipelineRun run = Drive();
    SetCurrentDirectoryW(saved);
    DeleteFileW(plants[1].c_str());

    EXPECT_EQ(run.last.phase, PipelinePhase::Finished) << PhaseName(run.last.phase);
    EXPECT_TRUE(FixtureRecords().empty()) << "the planted program ran: " << FixtureRecords().front();
    EXPECT_FALSE(InstalledVersion(kBonjourProductCode).empty()) << "the system's msiexec installed the package";
    // (Wine's shell finds its own msiexec first even by bare name, so there
    // the start by full path is what this pins down.)
    wchar_t system[MAX_PATH] = {};
    UINT length = GetSystemDirectoryW(system, MAX_PATH);
    EXPECT_EQ(MsiexecPath(), std::wstring(system, length) + L"\\Msiexec.exe");
}

// The worker's box is owned by the wizard's window; the window's thread
// waits for the worker while the box is up. The wait still answers the
// box's messages to the window, so the box closes and the wait ends.
TEST_F(PipelineTest, TheWindowsThreadCanWaitForTheWorkerWhileItsBoxIsUp)
{
    // This installer is too old for the server: the worker asks in a box.
    ServeText("version.xml", VersionFileText("9.1.0.100", "1.0.0.9"));
    Serve("pictora_maxora_1.msi", "pictora_maxora_1.msi");
    ASSERT_NO_FATAL_FAILURE(LoadProduct({}));
    TheConfig().hasLanguageChoice = 0;
    boxes.reset();  // real message boxes
    HWND owner = CreateWindowExW(0, L"STATIC", L"Pictora wizard", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300, 200,
                                 nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(owner);
    controller->ownerWindow = owner;

    // Closes the box from a third thread once it is up.
    std::atomic<bool> closed{false};
    std::thread closer([&] {
        for (int i = 0; i < 600 && !closed; ++i) {
            if (HWND box = FindWindowW(L"#32770", L"Windows Installer")) {
                Sleep(300);
                PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
                closed = true;
            }
            Sleep(50);
        }
    });
    StartPipeline(*controller);
    // Wait on this (the owner's) thread until the box is up, pumping as the
    // window's thread would, then wait for the worker.
    for (int i = 0; i < 600 && !FindWindowW(L"#32770", L"Windows Installer"); ++i) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        Sleep(50);
    }
    // A wait that cannot answer the box would never return: end the test
    // program with a clear word instead of hanging the suite.
    std::atomic<bool> waited{false};
    std::thread watchdog([&] {
        for (int i = 0; i < 600 && !waited; ++i)
            Sleep(50);
        if (!waited) {
            fprintf(stderr, "FAILED: the window's thread and the worker's box wait for each other\n");
            fflush(stderr);
            TerminateProcess(GetCurrentProcess(), 3);
        }
    });
    controller->WaitForWorker();
    waited = true;
    watchdog.join();
    closer.join();
    DestroyWindow(owner);

    EXPECT_TRUE(closed) << "the box never appeared";
    EXPECT_EQ(PollInstallProgress().phase, PipelinePhase::Failed);
}

}  // namespace
