// The exit routine's start of a downloaded newer installer.
#include <gtest/gtest.h>

#include "app/installer_app.h"
#include "app/startup_steps.h"
#include "base/notifier.h"
#include "support/process_helpers.h"

using namespace testing_support;

namespace {

struct Shown {
    std::wstring text, caption;
    UINT style;
};

class UpdaterLaunch : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetNotifyHandler([this](const std::wstring& text, const std::wstring& caption, UINT style) {
            shown.push_back({text, caption, style});
            return IDOK;
        });
    }
    void TearDown() override { SetNotifyHandler({}); }

    // Copies the command recorder to `name` in the temp folder.
    std::wstring PlaceRecorder(const std::wstring& name)
    {
        std::wstring path = temp / name;
        EXPECT_TRUE(CopyFileTo(BinaryDir() + L"\\command_recorder.exe", path));
        return path;
    }

    static std::string WaitForArgs(const std::wstring& exe)
    {
        for (int i = 0; i < 300; ++i) {
            std::string args = ReadFileBytes(exe + L".args");
            if (!args.empty())
                return args;
            Sleep(50);
        }
        return {};
    }

    TempDir temp;
    std::vector<Shown> shown;
};

TEST_F(UpdaterLaunch, ExitRoutineStartsTheDownloadedInstallerWithN)
{
    std::wstring updater = PlaceRecorder(L"Pictora Maxora.exe");  // a blank in the name
    CZYLMasterInstallerApp app;
    app.clientValidator.outcome = 2;
    app.clientValidator.updaterPath = updater;
    EXPECT_EQ(app.ExitInstance(), 0);
    std::string args = WaitForArgs(updater);
    ASSERT_FALSE(args.empty()) << "the updater was not started";
    EXPECT_NE(args.find(" /n"), std::string::npos) << args;
    EXPECT_TRUE(shown.empty());
}

TEST_F(UpdaterLaunch, NothingIsStartedUnlessTheOutcomeIsTwo)
{
    for (int outcome : {0, 1}) {
        std::wstring updater = PlaceRecorder(L"updater" + std::to_wstring(outcome) + L".exe");
        CZYLMasterInstallerApp app;
        app.clientValidator.outcome = outcome;
        app.clientValidator.updaterPath = updater;
        app.ExitInstance();
        Sleep(1500);
        EXPECT_FALSE(FileExists(updater + L".args")) << "outcome " << outcome;
    }
    EXPECT_TRUE(shown.empty());
}

TEST_F(UpdaterLaunch, MissingOrEmptyPathIsPassedOverSilently)
{
    LaunchDownloadedUpdater(temp / L"deleted.exe");
    LaunchDownloadedUpdater(L"");
    EXPECT_TRUE(shown.empty());
}

TEST_F(UpdaterLaunch, FailedStartIsReported)
{
    // A file the shell has no way to open.
    std::wstring odd = temp / L"updater.pictora-unknown-type";
    ASSERT_TRUE(WriteFileBytes(odd, "not a program"));
    LaunchDownloadedUpdater(odd);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, L"The updater cannot be launched!");
    EXPECT_EQ(shown[0].caption, kApplicationName);
    EXPECT_EQ(shown[0].style, static_cast<UINT>(MB_ICONSTOP | MB_OK));
}

}  // namespace
