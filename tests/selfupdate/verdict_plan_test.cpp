// The self-update worker's decisions on plain data: the plan for each
// verdict, the outcome after a fetch, the messages, the newer installer's
// address and its paths.
#include <gtest/gtest.h>

#include <ostream>

#include "selfupdate/verdict_plan.h"

// Names in failure messages (found by argument-dependent lookup).
std::ostream& operator<<(std::ostream& out, UpdateNotice notice)
{
    switch (notice) {
    case UpdateNotice::None: return out << "None";
    case UpdateNotice::AlreadyInstalled: return out << "AlreadyInstalled";
    case UpdateNotice::ServerUnreachable: return out << "ServerUnreachable";
    }
    return out << "?";
}

namespace {

TEST(VerdictPlan, EachVerdictHasItsPlan)
{
    const VerdictPlan goOn{};
    const VerdictPlan alreadyInstalled{true, UpdateNotice::AlreadyInstalled, MB_YESNO | MB_ICONERROR, true, false,
                                       SelfUpdateStop};
    const VerdictPlan tooOld{false, UpdateNotice::None, 0, false, true, SelfUpdateContinue};
    const VerdictPlan unreachable{true, UpdateNotice::ServerUnreachable, MB_OK | MB_ICONERROR, false, false,
                                  SelfUpdateStop};
    const struct {
        int32_t verdict;
        VerdictPlan plan;
    } cases[] = {
        {0, goOn},
        {1, alreadyInstalled},
        {2, tooOld},
        {4, unreachable},
        // Values the check never gives go on like 0.
        {3, goOn},
        {5, goOn},
        {-1, goOn},
    };
    for (const auto& c : cases) {
        VerdictPlan plan = PlanForVerdict(c.verdict);
        SCOPED_TRACE(testing::Message() << "verdict " << c.verdict);
        EXPECT_EQ(plan.hideDialog, c.plan.hideDialog);
        EXPECT_EQ(plan.notice, c.plan.notice);
        EXPECT_EQ(plan.noticeStyle, c.plan.noticeStyle);
        EXPECT_EQ(plan.offerLaunch, c.plan.offerLaunch);
        EXPECT_EQ(plan.fetchInstaller, c.plan.fetchInstaller);
        EXPECT_EQ(plan.outcome, c.plan.outcome);
    }
    // The message boxes' styles as the user sees them: Yes/No with the stop
    // icon, OK with the stop icon.
    EXPECT_EQ(alreadyInstalled.noticeStyle, 0x14u);
    EXPECT_EQ(unreachable.noticeStyle, 0x10u);
}

TEST(VerdictPlan, OnlyAWholeFetchLeadsToTheRelaunch)
{
    EXPECT_EQ(OutcomeAfterFetch(true), SelfUpdateRelaunch);
    EXPECT_EQ(OutcomeAfterFetch(false), SelfUpdateContinue);
}

TEST(VerdictPlan, NoticesInEnglishNameTheProduct)
{
    LanguageResources english;  // no language folder: the built-in texts
    EXPECT_EQ(NoticeText(UpdateNotice::AlreadyInstalled, english, L"Pictora"),
              L"Pictora is already installed. Would you like to launch it?");
    EXPECT_EQ(NoticeText(UpdateNotice::ServerUnreachable, english, L"Pictora"),
              L"Unable to contact the download server. Check your Internet connection and try again. If the issue "
              L"persists, please contact Customer Care.");
    EXPECT_EQ(NoticeText(UpdateNotice::None, english, L"Pictora"), L"");
}

TEST(VerdictPlan, TheInstalledCopyDecidesWhichAddressIsUsed)
{
    VersionDescriptor descriptor;
    descriptor.freshInstall.webInstallerDownloadUrl = L"http://127.0.0.1/fresh/PictoraSetup.exe";
    descriptor.patchInstall.webInstallerDownloadUrl = L"http://127.0.0.1/patch/PictoraSetup.exe";
    EXPECT_EQ(InstallerDownloadUrl(descriptor, false), L"http://127.0.0.1/fresh/PictoraSetup.exe");
    EXPECT_EQ(InstallerDownloadUrl(descriptor, true), L"http://127.0.0.1/patch/PictoraSetup.exe");

    // An empty address for the case at hand stays empty, even when the
    // other case has one.
    descriptor.patchInstall.webInstallerDownloadUrl.clear();
    EXPECT_EQ(InstallerDownloadUrl(descriptor, true), L"");
    EXPECT_EQ(InstallerDownloadUrl(descriptor, false), L"http://127.0.0.1/fresh/PictoraSetup.exe");
}

TEST(VerdictPlan, UpdaterFolderCarriesTheTickAsASignedNumber)
{
    const struct {
        DWORD tick;
        const wchar_t* folder;
    } cases[] = {
        {0, L"C:\\Temp\\ZYLWebInstaller_0"},
        {123456, L"C:\\Temp\\ZYLWebInstaller_123456"},
        {0x7FFFFFFF, L"C:\\Temp\\ZYLWebInstaller_2147483647"},
        // Past 24.8 days of uptime the tick prints negative.
        {0x80000000, L"C:\\Temp\\ZYLWebInstaller_-2147483648"},
        {0xFFFFFFFF, L"C:\\Temp\\ZYLWebInstaller_-1"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UpdaterFolderPath(L"C:\\Temp\\", c.tick), c.folder) << c.tick;
    EXPECT_EQ(UpdaterFilePath(L"C:\\Temp\\ZYLWebInstaller_7", L"Pictora Maxora"),
              L"C:\\Temp\\ZYLWebInstaller_7\\Pictora Maxora.exe");
}

}  // namespace
