// The Windows Installer's messages: the progress-message parser, the
// counters and the reported percentage over sequences of messages (reset,
// rollback, a second package), the answer to each kind of message, and the
// home-page address rule.
#include "install/installer_messages.h"

#include <gtest/gtest.h>
#include <msi.h>

#include <climits>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

void PrintTo(const ProgressFields& f, std::ostream* os)
{
    *os << "{" << f.field1 << ", " << f.field2 << ", " << f.field3 << ", " << f.field4 << "}";
}

bool operator==(const ProgressFields& a, const ProgressFields& b)
{
    return a.field1 == b.field1 && a.field2 == b.field2 && a.field3 == b.field3 && a.field4 == b.field4;
}

namespace {

TEST(InstallerMessages, ParseProgressMessage)
{
    struct Case {
        std::wstring message;
        std::optional<ProgressFields> fields;
    } cases[] = {
        {L"1: 0 2: 1000 3: 0 4: 1 ", ProgressFields{0, 1000, 0, 1}},
        {L"1: 0 2: 250 3: 1 4: 0", ProgressFields{0, 250, 1, 0}},
        {L"1: 0 2: 10 3: 0", ProgressFields{0, 10, 0, 0}},           // ends before field 4
        {L"1: 2 2: 25 3: 99 4: 99", ProgressFields{2, 25, 0, 0}},     // a report reads field 2 only
        {L"1: 3 2: 500 3: 7", ProgressFields{3, 500, 0, 0}},
        {L"1: 1 2: 7 3: 1 4: 9", ProgressFields{1, 7, 1, 0}},         // action info reads to field 3
        {L"1: 0 2: 10 3: 0 4: 1 9: x", ProgressFields{0, 10, 0, 1}},  // nothing read after field 4
        {L"1: 2 2: -5", ProgressFields{2, -5, 0, 0}},
        {L"1: 2 2: 12abc", ProgressFields{2, 12, 0, 0}},
        {L"1: 2 2: x", ProgressFields{2, 0, 0, 0}},
        {L"1: 0 2: 99999999999 3: 0 4: 0", ProgressFields{0, INT_MAX, 0, 0}},
        {L"1: 2  2: 30", ProgressFields{2, 30, 0, 0}},                // a second blank between fields
        {L"1: x 2: 5", std::nullopt},                                 // field 1 not a digit
        {L"1: ", std::nullopt},
        {L"x: 2 2: 5", std::nullopt},
        {L"1: 2 5: 3", std::nullopt},                                 // no field 5
        {L"2: 5 3: 1", std::nullopt},                                 // no field 1
        {L"", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.message));
        EXPECT_EQ(ParseProgressMessage(c.message), c.fields);
    }
}

constexpr UINT kProgress = INSTALLMESSAGE_PROGRESS;

// One progress message of a sequence and what must follow from it.
struct Step {
    const wchar_t* message;
    std::optional<int> reported;  // the percentage reported, or none
    int reportedPercent;          // the counter afterwards
    long long progressDone;
    int forwardProgress;
};

void RunSteps(InstallerMessageState& state, const std::vector<Step>& steps)
{
    for (const Step& s : steps) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(s.message)));
        InstallerMessageOutcome outcome = state.Handle(kProgress, s.message);
        EXPECT_EQ(outcome.result, 1);
        EXPECT_FALSE(outcome.showMessageBox);
        EXPECT_EQ(outcome.reportPercent, s.reported);
        EXPECT_EQ(state.Counters().reportedPercent, s.reportedPercent);
        EXPECT_EQ(state.Counters().progressDone, s.progressDone);
        EXPECT_EQ(state.Counters().forwardProgress, s.forwardProgress);
    }
}

TEST(InstallerMessages, ProgressCountsForwardAfterAReset)
{
    InstallerMessageState state;
    state.BeginPackage(L"PictoraMaxora.msi");
    RunSteps(state, {
                        {L"1: 2 2: 10", std::nullopt, 0, 10, 1},  // no total announced yet
                        {L"1: 0 2: 200 3: 0 4: 0", std::nullopt, 0, 0, 1},
                        {L"1: 2 2: 50", 25, 25, 50, 1},
                        {L"1: 2 2: 50", 50, 50, 100, 1},
                        {L"1: 1 2: 20 3: 1", 60, 60, 120, 1},            // action info counting steps
                        {L"1: 1 2: 20 3: 0", std::nullopt, 60, 120, 1},  // action info without steps
                        {L"1: 3 2: 100", std::nullopt, 60, 120, 1},      // total addition: nothing
                        {L"1: x 2: 50", std::nullopt, 60, 120, 1},       // not a digit: nothing
                        {L"1: 2 2: 1", 60, 60, 121, 1},                  // 60.5 % is reported as 60
                        {L"1: 2 2: 500", 100, 100, 621, 1},              // past the total: 100 at most
                    });
    EXPECT_EQ(state.Counters().progressTotal, 200);
}

TEST(InstallerMessages, RollbackCountsDownWithoutLoweringThePercentage)
{
    InstallerMessageState state;
    state.BeginPackage(L"PictoraMaxora.msi");
    RunSteps(state, {
                        {L"1: 0 2: 100 3: 0 4: 0", std::nullopt, 0, 0, 1},
                        {L"1: 2 2: 60", 60, 60, 60, 1},
                        // Rollback: starts at the total and counts down from
                        // the percentage reached (base 60).
                        {L"1: 0 2: 100 3: 1 4: 0", std::nullopt, 60, 100, 0},
                        {L"1: 2 2: 10", 96, 96, 90, 0},  // 60 + 0.9 * 40
                        {L"1: 2 2: 50", 96, 96, 40, 0},  // 76 would be lower
                        {L"1: 2 2: 80", 96, 96, -40, 0},
                    });
    EXPECT_EQ(state.Counters().progressBase, 60);
}

TEST(InstallerMessages, SecondPackageStartsWhereTheFirstEnded)
{
    InstallerMessageState state;
    state.BeginPackage(L"first.msi");
    RunSteps(state, {
                        {L"1: 0 2: 100 3: 0 4: 0", std::nullopt, 0, 0, 1},
                        {L"1: 2 2: 40", 40, 40, 40, 1},
                    });
    state.BeginPackage(L"second.msi");
    EXPECT_EQ(state.CurrentItemName(), L"second.msi");
    EXPECT_EQ(state.Counters().progressTotal, 0);
    EXPECT_EQ(state.Counters().progressBase, 0);
    RunSteps(state, {
                        {L"1: 2 2: 30", std::nullopt, 40, 30, 1},  // no total yet
                        {L"1: 0 2: 100 3: 0 4: 0", std::nullopt, 40, 0, 1},
                        {L"1: 2 2: 50", 70, 70, 50, 1},  // 40 + 0.5 * 60
                        {L"1: 2 2: 50", 100, 100, 100, 1},
                    });
}

TEST(InstallerMessages, AnswerForEachKindOfMessage)
{
    struct Case {
        const char* what;
        UINT type;
        const wchar_t* message;
        int result;
        bool box;
    } cases[] = {
        {"fatal exit", INSTALLMESSAGE_FATALEXIT | MB_OK | MB_ICONERROR, L"fatal", 0, true},
        {"error", INSTALLMESSAGE_ERROR | MB_ABORTRETRYIGNORE | MB_ICONWARNING | MB_DEFBUTTON2, L"error 1310", 0,
         true},
        {"out of disk space", INSTALLMESSAGE_OUTOFDISKSPACE | MB_RETRYCANCEL, L"disk full", 0, true},
        {"warning", INSTALLMESSAGE_WARNING | MB_OK, L"warning", 1, false},
        {"user", INSTALLMESSAGE_USER | MB_YESNO, L"user", 1, false},
        {"info", INSTALLMESSAGE_INFO, L"Action ended", 1, false},
        {"files in use", INSTALLMESSAGE_FILESINUSE, L"files", 0, false},
        {"resolve source", INSTALLMESSAGE_RESOLVESOURCE, L"source", 0, false},
        {"action start", INSTALLMESSAGE_ACTIONSTART, L"Action 12:00:00: InstallFiles.", 1, false},
        {"action data", INSTALLMESSAGE_ACTIONDATA, L"File: a.exe", 1, false},
        {"initialize", INSTALLMESSAGE_INITIALIZE, L"", 1, false},
        {"terminate", INSTALLMESSAGE_TERMINATE, L"", 1, false},
        {"show dialog", INSTALLMESSAGE_SHOWDIALOG, L"ExitDialog", 1, false},
        {"install end", INSTALLMESSAGE_INSTALLEND, L"", 1, false},
        {"common data", INSTALLMESSAGE_COMMONDATA, L"1: 0 2: 1033 3: 1252", 1, false},
        {"progress", INSTALLMESSAGE_PROGRESS, L"1: 3 2: 100", 1, false},
        {"install start: not among the kinds", INSTALLMESSAGE_INSTALLSTART, L"", 0, false},
        {"restart manager files in use", INSTALLMESSAGE_RMFILESINUSE, L"files", 0, false},
        {"an unknown kind", 0x0F000000u, L"performance", 0, false},
        {"no message text", INSTALLMESSAGE_WARNING, nullptr, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        InstallerMessageState state;
        state.BeginPackage(L"PictoraMaxora.msi");
        InstallerMessageOutcome outcome = state.Handle(c.type, c.message);
        EXPECT_TRUE(outcome.switchToBasicUi);  // the call's first message
        EXPECT_EQ(outcome.showMessageBox, c.box);
        if (c.box)
            EXPECT_EQ(outcome.boxStyle, c.type & 0x00FFFFFFu);
        else
            EXPECT_EQ(outcome.result, c.result);
        EXPECT_FALSE(outcome.reportPercent);
    }
}

TEST(InstallerMessages, FirstMessageOfEachPackageSwitchesToTheBasicUi)
{
    InstallerMessageState state;
    state.BeginPackage(L"first.msi");
    EXPECT_TRUE(state.Handle(INSTALLMESSAGE_ACTIONSTART, nullptr).switchToBasicUi);  // even without text
    EXPECT_FALSE(state.Handle(INSTALLMESSAGE_ACTIONSTART, L"Action").switchToBasicUi);
    state.BeginPackage(L"second.msi");
    EXPECT_TRUE(state.Handle(INSTALLMESSAGE_INFO, L"Action").switchToBasicUi);
    EXPECT_FALSE(state.Handle(INSTALLMESSAGE_INFO, L"Action").switchToBasicUi);
}

TEST(InstallerMessages, CancelIsAnsweredOnTheNextProgressMessage)
{
    InstallerMessageState state;
    state.BeginPackage(L"PictoraMaxora.msi");
    EXPECT_EQ(state.Handle(kProgress, L"1: 0 2: 100 3: 0 4: 0").result, 1);
    state.RequestCancel();
    EXPECT_EQ(state.Handle(INSTALLMESSAGE_ACTIONSTART, L"Action").result, 1);
    EXPECT_EQ(state.Handle(INSTALLMESSAGE_INFO, L"Action ended").result, 1);
    InstallerMessageOutcome outcome = state.Handle(kProgress, L"1: 2 2: 30");
    EXPECT_EQ(outcome.result, 2);
    EXPECT_EQ(outcome.reportPercent, 30);  // the counters still advance
    EXPECT_EQ(state.Handle(kProgress, L"1: 3 2: 5").result, 2);
    EXPECT_EQ(state.Handle(kProgress, L"1: x").result, 1);  // unreadable: answered with 1
    // A cancel that came before the next package is not forgotten.
    state.BeginPackage(L"second.msi");
    EXPECT_TRUE(state.CancelRequested());
    EXPECT_EQ(state.Handle(kProgress, L"1: 0 2: 100 3: 0 4: 0").result, 2);
}

TEST(InstallerMessages, HomePageAddressRule)
{
    struct Case {
        std::wstring message;
        std::optional<std::wstring> address;
    } cases[] = {
        {L"Property(S): InstallHomepageURL = https://www.pictora-maxora.com/",
         L"https://www.pictora-maxora.com/"},
        {L"property(s):   installhomepageurl =   https://x.example/a  \r\n", L"https://x.example/a"},
        {L"PROPERTY(S): INSTALLHOMEPAGEURL =https://x.example/", L"https://x.example/"},
        {L"Property(S):InstallHomepageURL =\thttps://x.example/\t", L"https://x.example/"},
        {L"Property(C): InstallHomepageURL = https://x.example/", std::nullopt},  // client side
        {L"Property(S): InstallHomepageURL= https://x.example/", std::nullopt},
        {L"Property(S): ProductName = Pictora Maxora", std::nullopt},
        {L"Property(S): InstallHomepageURL =   ", std::nullopt},
        {L"Property(S): InstallHomepageURL =", std::nullopt},
        {L"Property(S):", std::nullopt},
        {L"Property(S", std::nullopt},
        {L" Property(S): InstallHomepageURL = https://x.example/", std::nullopt},
        {L"Action: Property(S): InstallHomepageURL = https://x.example/", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.message));
        EXPECT_EQ(FindHomePageUrl(c.message), c.address);
    }
}

TEST(InstallerMessages, HomePageAddressIsTakenOnceFromInfoMessages)
{
    InstallerMessageState state;
    state.BeginPackage(L"first.msi");
    // Only info messages carry the property dump.
    state.Handle(INSTALLMESSAGE_ACTIONDATA, L"Property(S): InstallHomepageURL = https://wrong.example/");
    state.Handle(INSTALLMESSAGE_ERROR | MB_OK, L"Property(S): InstallHomepageURL = https://wrong.example/");
    EXPECT_EQ(state.HomePageUrl(), L"");
    state.Handle(INSTALLMESSAGE_INFO, L"Property(S): ProductName = Pictora Maxora");
    EXPECT_EQ(state.HomePageUrl(), L"");
    state.Handle(INSTALLMESSAGE_INFO, L"Property(S): InstallHomepageURL = https://www.pictora-maxora.com/\n");
    EXPECT_EQ(state.HomePageUrl(), L"https://www.pictora-maxora.com/");
    state.Handle(INSTALLMESSAGE_INFO, L"Property(S): InstallHomepageURL = https://later.example/");
    EXPECT_EQ(state.HomePageUrl(), L"https://www.pictora-maxora.com/");
    // It lives for the whole run.
    state.BeginPackage(L"second.msi");
    state.Handle(INSTALLMESSAGE_INFO, L"Property(S): InstallHomepageURL = https://second.example/");
    EXPECT_EQ(state.HomePageUrl(), L"https://www.pictora-maxora.com/");
}

}  // namespace
