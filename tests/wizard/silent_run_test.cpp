// The built installer run unattended end to end: a manifest beside a copy
// of PictoraSetup.exe points at the local test server, the run is started
// with "/s" (and "/l"), and its exit code is read inside Wine. A box on
// screen would hold the process, so these runs end in time only when none
// was shown and no window waited for the user.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "built_installer_test.h"
#include "support/local_test_server.h"

using namespace pipeline_test;
using namespace built_installer_test;
using testing_support::FileExists;
using testing_support::TempDir;

namespace {

// Nobody chooses a folder in a silent run: the installer makes the
// configured one and installs there.
class SilentRun : public BuiltInstallerTest {
protected:
    // Sets the product up with `package` as its main component and runs the
    // built installer beside its manifest with `options`.
    long RunInstaller(const std::string& package, const std::wstring& options)
    {
        TestManifest parts;
        parts.mainComponent = package;
        parts.mainComponentPath = package;
        const std::wstring setup = PrepareInstaller(parts);
        if (HasFailure())
            return -1;
        return testing_support::RunProcess(L"\"" + setup + L"\" " + options, 240000);
    }
};

TEST_F(SilentRun, InstallsWithoutAWindowAndExitsWithZero)
{
    const long code = RunInstaller("pictora_maxora_1.msi", L"/s");
    EXPECT_EQ(code, 0);
    EXPECT_EQ(InstalledVersion(kProductCode), kVersion1);
    EXPECT_TRUE(FileExists(kDefaultFolder + L"\\PictoraMaxora.exe")) << "the configured folder was made and used";
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, RegistryKeyPath(), L"exe"), kDefaultFolder + L"\\PictoraMaxora.exe");
    Sleep(1000);
    EXPECT_FALSE(FileExists(LaunchedRecord())) << "nothing starts the product without /l";
}

TEST_F(SilentRun, LaunchAfterInstallStartsTheProduct)
{
    const long code = RunInstaller("pictora_maxora_1.msi", L"/s /l");
    EXPECT_EQ(code, 0);
    EXPECT_EQ(InstalledVersion(kProductCode), kVersion1);
    EXPECT_TRUE(ProductStarted());
}

TEST_F(SilentRun, AFailingPackageExitsWith1603)
{
    const long code = RunInstaller("pictora_maxora_failing.msi", L"/s");
    EXPECT_EQ(code, 1603);
    EXPECT_TRUE(InstalledVersion(kFailingProductCode).empty());
}

// "/s /quiet" with the server down: no box holds the run; the box that
// would have been shown is in the log, and the run exits 1603 in time.
TEST_F(SilentRun, QuietRunWithTheServerDownExitsWith1603AndLogsTheBox)
{
    TempDir logs;
    const std::wstring log = logs / L"setup log.txt";  // a path with a blank
    TestManifest parts;
    parts.versionCheckPath = "http://127.0.0.1:" + std::to_string(net_test::UnusedPort()) + "/version.xml";
    const std::wstring setup = PrepareInstaller(parts);
    ASSERT_FALSE(HasFailure());

    ULONGLONG start = GetTickCount64();
    long code = testing_support::RunProcess(L"\"" + setup + L"\" /s /quiet /log \"" + log + L"\"", 120000);
    ULONGLONG took = GetTickCount64() - start;

    EXPECT_EQ(code, 1603);
    EXPECT_LT(took, 60000u) << "within the connection timeout and the retries' waits";
    std::string text = testing_support::ReadFileBytes(log);
    EXPECT_NE(text.find("Unable to contact the download server"), std::string::npos) << text;
    EXPECT_NE(text.find("1603"), std::string::npos) << "the run's last line names its exit code\n" << text;
    EXPECT_TRUE(InstalledVersion(kProductCode).empty());
}

// A log that cannot be opened is a clear error: 1603, nothing installed.
TEST_F(SilentRun, ALogThatCannotBeOpenedExitsWith1603)
{
    const long code = RunInstaller("pictora_maxora_1.msi", L"/s /quiet /log \"Z:\\no such folder\\x\\setup.log\"");
    EXPECT_EQ(code, 1603);
    EXPECT_TRUE(InstalledVersion(kProductCode).empty());
}

}  // namespace
