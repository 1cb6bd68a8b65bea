// Quiet notifications: no box, the box written to the log, the safe answer.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "base/debug_trace.h"
#include "base/notifier.h"
#include "support/process_helpers.h"

using namespace testing_support;

namespace {

TEST(QuietAnswer, EachButtonSetStopsSafely)
{
    struct Case {
        UINT style;
        int answer;
    } cases[] = {
        {MB_OK, IDOK},
        {MB_OK | MB_ICONERROR, IDOK},
        {MB_OKCANCEL | MB_ICONERROR, IDCANCEL},
        {MB_OKCANCEL | MB_DEFBUTTON1, IDCANCEL},
        {MB_YESNOCANCEL | MB_ICONQUESTION, IDCANCEL},
        {MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON1, IDNO},
        {MB_RETRYCANCEL, IDCANCEL},
        {MB_CANCELTRYCONTINUE, IDCANCEL},
        {MB_ABORTRETRYIGNORE | MB_ICONERROR, IDABORT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        EXPECT_EQ(QuietAnswer(c.style), c.answer);
    }
}

class QuietNotify : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetDebugTraceLogPath(log);
        // A box that reached the handler would have been shown.
        SetNotifyHandler([this](const std::wstring&, const std::wstring&, UINT) {
            ++shown;
            return IDYES;
        });
    }
    void TearDown() override
    {
        SetQuietNotifications(false);
        SetNotifyHandler({});
        SetDebugTraceLogPath(L"");
    }

    TempDir dir;
    std::wstring log = dir / L"quiet.log";
    int shown = 0;
};

TEST_F(QuietNotify, QuietRunShowsNoBoxAndLogsCaptionTextAndAnswer)
{
    SetQuietNotifications(true);
    EXPECT_TRUE(QuietNotifications());
    EXPECT_EQ(Notify(L"Cancel the installation?\r\nIt is half done.", L"Pictora Maxora", MB_YESNO | MB_ICONQUESTION),
              IDNO);
    EXPECT_EQ(Notify(L"Cannot reach the server.", L"Windows Installer", MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(shown, 0);

    std::string bytes = ReadFileBytes(log);
    for (const char* expected :
         {"caption \"Pictora Maxora\", answered IDNO:", "] Cancel the installation?\r\n", "] It is half done.\r\n",
          "caption \"Windows Installer\", answered IDCANCEL:", "] Cannot reach the server.\r\n"})
        EXPECT_NE(bytes.find(expected), std::string::npos) << expected << " not in:\n" << bytes;
    EXPECT_LT(bytes.find("IDNO"), bytes.find("IDCANCEL")) << bytes;
}

TEST_F(QuietNotify, AttendedRunStillAsksAndLogsNothing)
{
    SetQuietNotifications(false);
    EXPECT_EQ(Notify(L"Cancel the installation?", L"Pictora Maxora", MB_YESNO), IDYES);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(ReadFileBytes(log).find("message box"), std::string::npos);
}

}  // namespace
