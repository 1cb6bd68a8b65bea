// The check for running applications before the installation starts: a
// watched application holds its named semaphore while it runs.
#include "install/running_applications.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/notifier.h"
#include "base/unique_handle.h"
#include "i18n/ui_string_table.h"

namespace {

struct Box {
    std::wstring text;
    std::wstring caption;
    UINT style;
};

}  // namespace

TEST(RunningApplications, NoneRunningPassesWithoutAQuestion)
{
    int shown = 0;
    SetNotifyHandler([&shown](const std::wstring&, const std::wstring&, UINT) { return ++shown, IDCANCEL; });
    EXPECT_TRUE(CheckRunningApplications(L"Pictora Maxora 2026", nullptr));
    EXPECT_EQ(shown, 0);
    SetNotifyHandler({});
}

// Both table entries name the same semaphore: while it is held, the
// question lists the shown name once per entry; Retry looks again (and
// passes once the application has closed), Cancel stops.
TEST(RunningApplications, ARunningApplicationIsListedUntilItCloses)
{
    for (int answer : {IDCANCEL, IDRETRY}) {
        SCOPED_TRACE(answer == IDRETRY ? "retry after closing" : "cancel");
        UniqueHandle semaphore(CreateSemaphoreW(nullptr, 1, 1, kWatchedApplications[0].semaphoreName));
        ASSERT_TRUE(semaphore);
        std::vector<Box> boxes;
        SetNotifyHandler([&](const std::wstring& text, const std::wstring& caption, UINT style) {
            boxes.push_back({text, caption, style});
            semaphore.Reset();  // the application closes while the box is up
            return answer;
        });

        bool passed = CheckRunningApplications(L"Pictora Maxora 2026", nullptr);

        SetNotifyHandler({});
        EXPECT_EQ(passed, answer == IDRETRY);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, std::wstring(UIStringEntryFor(UIStringId::CloseRunningApps).defaultText) +
                                     L"\n\nTODO\r\nTODO\r\n");
        EXPECT_EQ(boxes[0].caption, L"Pictora Maxora 2026");
        EXPECT_EQ(boxes[0].style, static_cast<UINT>(MB_ICONWARNING | MB_RETRYCANCEL));
    }
}
