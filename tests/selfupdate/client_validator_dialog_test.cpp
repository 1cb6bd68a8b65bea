// The self-update dialog on the installer's own template, run modally on
// the test thread while a second thread watches it from outside: the
// title, the marquee bar in the middle, keys and a premature close that
// change nothing, the hidden dialog of silent mode, and the close that the
// worker makes when it is done.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <string>
#include <thread>

#include "selfupdate/client_validator.h"
#include "selfupdate_test_support.h"
#include "ui/caption_buttons.h"

using namespace selfupdate_test;
using testing_support::Utf8;

namespace {

// The dialog among the top-level windows of `thread`, or null.
HWND FindDialogOf(DWORD thread)
{
    HWND found = nullptr;
    EnumThreadWindows(
        thread,
        [](HWND window, LPARAM result) -> BOOL {
            wchar_t name[32] = {};
            GetClassNameW(window, name, 32);
            if (std::wstring(name) != L"#32770")
                return TRUE;
            *reinterpret_cast<HWND*>(result) = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// What a watcher on another thread saw of the dialog while it ran.
struct Sighting {
    bool found = false;
    std::wstring title;
    bool everVisible = false;
    LONG_PTR exStyle = 0;
    LONG_PTR barStyle = 0;
    RECT client{};
    RECT bar{};  // in client coordinates
    // Still there and shown after Escape, Enter and a WM_CLOSE before the
    // worker was done (an ended dialog is hidden at once).
    bool outlivedKeysAndClose = false;
    bool gone = false;
};

// Watches the dialog that `thread` is about to run modally.
class DialogWatcher {
public:
    explicit DialogWatcher(DWORD thread) : thread_([this, thread] { Watch(thread); }) {}
    ~DialogWatcher() { Join(); }
    const Sighting& Result()
    {
        Join();
        return sighting_;
    }

private:
    void Join()
    {
        if (thread_.joinable())
            thread_.join();
    }
    void Watch(DWORD owner)
    {
        HWND dialog = nullptr;
        for (int i = 0; i < 500 && !(dialog = FindDialogOf(owner)); ++i)
            Sleep(10);
        if (!dialog)
            return;
        sighting_.found = true;
        Sleep(100);  // past the dialog's initialisation
        wchar_t title[64] = {};
        GetWindowTextW(dialog, title, 64);
        sighting_.title = title;
        sighting_.exStyle = GetWindowLongPtrW(dialog, GWL_EXSTYLE);
        HWND bar = GetDlgItem(dialog, IDC_CHECK_PROGRESS);
        sighting_.barStyle = GetWindowLongPtrW(bar, GWL_STYLE);
        GetClientRect(dialog, &sighting_.client);
        GetWindowRect(bar, &sighting_.bar);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&sighting_.bar), 2);

        for (HWND target : {dialog, bar}) {
            for (WPARAM key : {VK_ESCAPE, VK_RETURN}) {
                PostMessageW(target, WM_KEYDOWN, key, 1);
                PostMessageW(target, WM_KEYUP, key, 0xC0000001);
            }
        }
        PostMessageW(dialog, WM_CLOSE, 0, 0);
        for (int i = 0; i < 30; ++i) {
            sighting_.everVisible |= IsWindowVisible(dialog) != FALSE;
            Sleep(10);
        }
        sighting_.outlivedKeysAndClose = IsWindow(dialog) && IsWindowVisible(dialog);
        for (int i = 0; i < 1500 && IsWindow(dialog); ++i) {
            sighting_.everVisible |= IsWindowVisible(dialog) != FALSE;
            Sleep(10);
        }
        sighting_.gone = !IsWindow(dialog);
    }

    Sighting sighting_;
    std::thread thread_;
};

class ClientValidatorDialog : public SelfUpdateTest {
protected:
    // A descriptor that takes about two seconds to arrive, so that the
    // dialog stays up while the watcher looks at it.
    void ServeSlowDescriptor(const Descriptor& descriptor)
    {
        ASSERT_TRUE(net_test::TheServer().SetRule(
            Path("version.xml"), "type=text/xml&chunk=100&delay=250&body=" + EncodeRuleValue(descriptor.Xml())));
    }
};

TEST_F(ClientValidatorDialog, ShowsThePreparingDialogWithTheMarqueeAndClosesItself)
{
    ServeSlowDescriptor(Descriptor{});
    AnsweringNotifier notifier;
    CClientValidator validator(config, flags);
    DialogWatcher watcher(GetCurrentThreadId());
    ULONGLONG start = GetTickCount64();
    validator.RunModal();
    ULONGLONG elapsed = GetTickCount64() - start;
    const Sighting& seen = watcher.Result();

    ASSERT_TRUE(seen.found) << "no dialog appeared";
    EXPECT_EQ(seen.title, L"Preparing...");
    EXPECT_EQ(validator.titleText, L"Preparing...");
    EXPECT_TRUE(seen.everVisible);
    EXPECT_FALSE(seen.exStyle & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(seen.barStyle & PBS_MARQUEE);
    const int barWidth = seen.bar.right - seen.bar.left, barHeight = seen.bar.bottom - seen.bar.top;
    EXPECT_GT(barWidth, 0);
    EXPECT_EQ(seen.bar.left, (seen.client.right - barWidth) / 2);
    EXPECT_EQ(seen.bar.top, (seen.client.bottom - barHeight) / 2);
    EXPECT_TRUE(seen.outlivedKeysAndClose) << "a key or an early WM_CLOSE ended the dialog";
    EXPECT_TRUE(seen.gone) << "the dialog did not close by itself";
    EXPECT_GE(elapsed, 1000u) << "the dialog ended before the descriptor had arrived";

    EXPECT_EQ(validator.outcome, SelfUpdateContinue);
    EXPECT_TRUE(notifier.boxes.empty());
    EXPECT_TRUE(validator.showCaptionTitle);
    for (const CaptionButton& button : validator.CaptionButtons()) {
        if (button.id != kCaptionRestore) {
            EXPECT_TRUE(button.disabled) << "caption button " << button.id;
        }
    }
}

TEST_F(ClientValidatorDialog, SilentModeKeepsTheDialogHiddenButNotItsMessage)
{
    flags.silentMode = 1;
    const struct {
        const char* what;
        bool serverUp;
        int32_t outcome;
        size_t boxes;
    } cases[] = {
        {"descriptor says go on", true, SelfUpdateContinue, 0},
        {"server down", false, SelfUpdateStop, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.serverUp) {
            config.manifest.versionCheckUrl = Url(Path("version.xml"));
            ServeSlowDescriptor(Descriptor{});
        } else {
            config.manifest.versionCheckUrl =
                L"http://127.0.0.1:" + std::to_wstring(net_test::UnusedPort()) + L"/version.xml";
        }
        AnsweringNotifier notifier;
        CClientValidator validator(config, flags);
        DialogWatcher watcher(GetCurrentThreadId());
        validator.RunModal();
        const Sighting& seen = watcher.Result();

        ASSERT_TRUE(seen.found);
        EXPECT_FALSE(seen.everVisible) << "the dialog showed in silent mode";
        EXPECT_TRUE(seen.exStyle & WS_EX_TOOLWINDOW);
        EXPECT_FALSE(seen.exStyle & WS_EX_APPWINDOW);
        EXPECT_TRUE(seen.gone);
        EXPECT_EQ(validator.outcome, c.outcome);
        EXPECT_EQ(notifier.boxes.size(), c.boxes);
    }
}

// The connect message appears with the dialog already hidden.
TEST_F(ClientValidatorDialog, ConnectMessageStandsAlone)
{
    config.manifest.versionCheckUrl = L"http://127.0.0.1:" + std::to_wstring(net_test::UnusedPort()) + L"/version.xml";
    const DWORD thread = GetCurrentThreadId();
    std::atomic<int> shownWithDialogVisible{-1};
    SetNotifyHandler([&](const std::wstring&, const std::wstring&, UINT) {
        HWND dialog = FindDialogOf(thread);
        shownWithDialogVisible = dialog && IsWindowVisible(dialog) ? 1 : 0;
        return IDOK;
    });
    CClientValidator validator(config, flags);
    validator.RunModal();
    SetNotifyHandler({});
    EXPECT_EQ(shownWithDialogVisible, 0);
    EXPECT_EQ(validator.outcome, SelfUpdateStop);
}

}  // namespace
