// What an installer's exit code means for the run, and the wait for a
// busy Windows Installer: tries, waits, its time limit, the cancel.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "base/unique_handle.h"
#include "install/busy_installer_wait.h"
#include "install/installer_exit_codes.h"
#include "install/pipeline_fixture.h"

using pipeline_test::LogCapture;

namespace {

TEST(InstallerExitCodes, EachCodeHasItsMeaning)
{
    struct Case {
        DWORD code;
        ExitCodeMeaning meaning;
        bool restart;
    } cases[] = {
        {0, ExitCodeMeaning::Success, false},
        {1638, ExitCodeMeaning::Success, false},
        {3010, ExitCodeMeaning::SuccessRestartNeeded, true},
        {1641, ExitCodeMeaning::SuccessRestartNeeded, true},
        {1618, ExitCodeMeaning::Busy, false},
        {1603, ExitCodeMeaning::Failure, false},
        {1602, ExitCodeMeaning::Failure, false},
        {1, ExitCodeMeaning::Failure, false},
        {3011, ExitCodeMeaning::Failure, false},
        {0xC0000005, ExitCodeMeaning::Failure, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(MeaningOfExitCode(c.code), c.meaning);
        EXPECT_EQ(ExitCodeNeedsRestart(c.code), c.restart);
    }
}

TEST(BusyInstallerWait, TriesAgainWhileBusyWithinTheTimeAllowed)
{
    struct Case {
        const char* what;
        std::vector<DWORD> answers;  // the last one repeats
        BusyWaitTimes times;
        DWORD result;
        int tries;
        int waitLines;
        bool givenUp;
    } cases[] = {
        {"free at once", {0}, {50, 1000}, 0, 1, 0, false},
        {"a failure is not tried again", {1603}, {50, 1000}, 1603, 1, 0, false},
        {"busy twice, then free", {1618, 1618, 0}, {50, 1000}, 0, 3, 2, false},
        {"busy, then a restart needed", {1618, 3010}, {50, 1000}, 3010, 2, 1, false},
        {"busy for good: the limit ends it", {1618}, {50, 200}, 1618, 5, 4, true},
        {"a limit that is not a whole interval", {1618}, {80, 200}, 1618, 4, 3, true},
        {"no time allowed: one try", {1618}, {50, 0}, 1618, 1, 0, true},
    };
    UniqueHandle cancel(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LogCapture log;
        size_t next = 0;
        auto attempt = [&]() {
            DWORD answer = c.answers[next < c.answers.size() ? next : c.answers.size() - 1];
            ++next;
            return answer;
        };
        ULONGLONG start = GetTickCount64();
        BusyWaitOutcome outcome = RetryWhileInstallerBusy(attempt, L"pictora_maxora_1.msi", c.times, cancel.Get());
        ULONGLONG took = GetTickCount64() - start;
        EXPECT_EQ(outcome.result, c.result);
        EXPECT_EQ(outcome.tries, c.tries);
        EXPECT_EQ(static_cast<int>(next), c.tries);
        EXPECT_FALSE(outcome.cancelled);
        EXPECT_EQ(log.Count("pictora_maxora_1.msi is tried again"), c.waitLines) << log.Text();
        EXPECT_EQ(log.Has("is given up"), c.givenUp) << log.Text();
        // The waits were made (at most the limit in all).
        DWORD waited = c.waitLines ? std::min<DWORD>(c.times.limitMs, c.times.intervalMs * c.waitLines) : 0;
        EXPECT_GE(took + 20, waited);
    }
}

TEST(BusyInstallerWait, CancelEndsTheWaitAtOnce)
{
    LogCapture log;
    UniqueHandle cancel(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    int tries = 0;
    auto attempt = [&]() -> DWORD {
        ++tries;
        // The user cancels while the first busy answer is waited out.
        SetEvent(cancel.Get());
        return 1618;
    };
    ULONGLONG start = GetTickCount64();
    BusyWaitOutcome outcome = RetryWhileInstallerBusy(attempt, L"bonjour.msi", {60000, 300000}, cancel.Get());
    EXPECT_LT(GetTickCount64() - start, 5000u) << "the interval was waited out";
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_EQ(tries, 1);
    EXPECT_EQ(outcome.result, 1618u);
    EXPECT_TRUE(log.Has("cancelled while waiting to install bonjour.msi")) << log.Text();
}

}  // namespace
