// Start-up's part of an unattended run: the quiet switch, the log asked
// for on the command line, the lines that open a run.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "app/unattended_run.h"
#include "base/debug_trace.h"
#include "base/notifier.h"
#include "config/installer_config.h"
#include "support/process_helpers.h"

using namespace testing_support;

namespace {

class UnattendedRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The default log, where a log that failed is reported, lands in
        // a folder of the test's own.
        wchar_t old[MAX_PATH + 1];
        DWORD length = GetEnvironmentVariableW(L"TMP", old, MAX_PATH + 1);
        if (length > 0 && length <= MAX_PATH)
            oldTmp.assign(old, length);
        SetEnvironmentVariableW(L"TMP", temporary.Path().c_str());
        SetDebugTraceLogPath(fallback);
        SetNotifyHandler([this](const std::wstring& text, const std::wstring&, UINT) {
            boxes.push_back(text);
            return IDOK;
        });
    }
    void TearDown() override
    {
        SetQuietNotifications(false);
        SetNotifyHandler({});
        SetEnvironmentVariableW(L"TMP", oldTmp.empty() ? nullptr : oldTmp.c_str());
        SetDebugTraceLogPath(L"");
    }

    std::string DefaultLogBytes() const { return ReadFileBytes(temporary / L"PictoraSetup.log"); }

    TempDir temporary;
    std::wstring oldTmp;
    TempDir dir;
    std::wstring fallback = dir / L"fallback.log";
    std::vector<std::wstring> boxes;
};

TEST_F(UnattendedRun, LogOptionDecidesWhetherTheRunGoesOn)
{
    struct Case {
        const char* what;
        int quiet;
        int logRequested;
        std::wstring path;
        int exitCode;
        size_t boxes;
    } cases[] = {
        {"no log asked for", 0, 0, L"", 0, 0},
        {"a log that opens", 0, 1, dir / L"admin.log", 0, 0},
        {"a log that opens, quiet", 1, 1, dir / L"admin quiet.log", 0, 0},
        {"a log in a missing folder", 0, 1, dir / L"missing\\admin.log", kRunFailedExitCode, 1},
        {"a log in a missing folder, quiet", 1, 1, dir / L"missing\\admin.log", kRunFailedExitCode, 0},
        {"a folder as the log", 1, 1, dir.Path(), kRunFailedExitCode, 0},
        {"no path after /log", 0, 1, L"", kRunFailedExitCode, 1},
        {"no path after /log, quiet", 1, 1, L"", kRunFailedExitCode, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        boxes.clear();
        SetDebugTraceLogPath(L"");
        RunFlags flags;
        flags.silentMode = c.quiet;
        flags.quietMode = c.quiet;
        flags.logRequested = c.logRequested;
        flags.logPath = c.path;
        EXPECT_EQ(PrepareRunLog(flags), c.exitCode);
        EXPECT_EQ(QuietNotifications(), c.quiet != 0);
        EXPECT_EQ(boxes.size(), c.boxes);
        if (c.exitCode == 0 && c.logRequested) {
            DebugTrace(L"after the start\r\n");
            EXPECT_NE(ReadFileBytes(c.path).find("] after the start\r\n"), std::string::npos);
        }
        SetQuietNotifications(false);
    }
}

TEST_F(UnattendedRun, StartLinesGoToTheLogAskedFor)
{
    std::wstring asked = dir / L"admin.log";
    RunFlags flags;
    flags.quietMode = flags.silentMode = 1;
    flags.logRequested = 1;
    flags.logPath = asked;
    ASSERT_EQ(PrepareRunLog(flags), 0);
    LogRunStart({L"C:\\setup.exe", L"/quiet", L"/log", asked});
    InstallerConfig config;
    config.manifestPath = L"C:\\Setup\\config\\manifest.xml";
    config.manifest.shortName = L"Pictora Maxora";
    config.manifest.webInstallerVersion = L"1.0.0.7";
    LogConfigurationFound(config, 0);
    LogRunEnd(L"finished", 0);

    std::string bytes = ReadFileBytes(asked);
    const char* expected[] = {
        "] PictoraSetup: run started, installer file version ",
        "] PictoraSetup: command line: ",
        "] PictoraSetup: arguments: [/quiet] [/log] [",
        "] PictoraSetup: installer version in the manifest 1.0.0.7.\r\n",
        "] PictoraSetup: manifest C:\\Setup\\config\\manifest.xml (product Pictora Maxora).\r\n",
        "] PictoraSetup: run ended: finished, exit code 0.\r\n",
    };
    size_t at = 0;
    for (const char* line : expected) {
        size_t found = bytes.find(line, at);
        EXPECT_NE(found, std::string::npos) << line << " (in this order) not in:\n" << bytes;
        if (found != std::string::npos)
            at = found;
    }
    EXPECT_EQ(ReadFileBytes(fallback), "") << "the start lines went to the default log";
}

// The version read from the shipped executable's own resource, and none
// from a module without one.
TEST_F(UnattendedRun, FileVersionComesFromTheVersionResource)
{
    HMODULE installer = LoadLibraryExW((BinaryDir() + L"\\PictoraSetup.exe").c_str(), nullptr,
                                       LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(installer, nullptr) << GetLastError();
    EXPECT_EQ(ModuleFileVersion(installer), L"1.0.0.1");
    FreeLibrary(installer);
    HMODULE tests = LoadLibraryExW((BinaryDir() + L"\\app_tests.exe").c_str(), nullptr,
                                   LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(tests, nullptr) << GetLastError();
    EXPECT_EQ(ModuleFileVersion(tests), L"");
    FreeLibrary(tests);
}

TEST_F(UnattendedRun, MissingManifestIsSaid)
{
    InstallerConfig config;
    LogConfigurationFound(config, 1);
    EXPECT_NE(ReadFileBytes(fallback).find("] PictoraSetup: no usable manifest found (configuration result 1).\r\n"),
              std::string::npos)
        << ReadFileBytes(fallback);
}

TEST_F(UnattendedRun, UnopenableLogIsReportedInTheDefaultLog)
{
    RunFlags flags;
    flags.quietMode = flags.silentMode = 1;
    flags.logRequested = 1;
    flags.logPath = dir / L"missing\\admin.log";
    EXPECT_EQ(PrepareRunLog(flags), kRunFailedExitCode);
    std::string bytes = DefaultLogBytes();
    EXPECT_NE(bytes.find("cannot be opened for writing"), std::string::npos) << bytes;
    EXPECT_NE(bytes.find("missing\\admin.log"), std::string::npos) << bytes;
    EXPECT_TRUE(boxes.empty());
}

}  // namespace
