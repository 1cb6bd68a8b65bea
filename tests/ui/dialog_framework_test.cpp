// The dialog framework on real windows: handler tables, controls bound by
// identifier, reflected notifications, timers, the pre-translation hook of
// the modal loop and child dialogs.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/control.h"
#include "ui/dialog.h"
#include "ui_test_support.h"

namespace {

constexpr int kButton = 1001;
constexpr int kOwnerDrawn = 1002;
constexpr int kLabel = 1003;
constexpr int kCombo = 1004;
constexpr UINT_PTR kGiveUpTimer = 77;

DialogTemplate ThreeControls()
{
    DialogTemplate t(WS_POPUP | WS_CAPTION | WS_SYSMENU, 200, 120, L"Framework");
    t.Add(kButton, L"Button", L"Push", WS_TABSTOP | BS_PUSHBUTTON, 10, 10, 60, 14);
    t.Add(kOwnerDrawn, L"Button", L"Drawn", WS_TABSTOP | BS_OWNERDRAW, 10, 30, 60, 14);
    t.Add(kLabel, L"Static", L"Label", SS_LEFT, 10, 50, 60, 10);
    t.Add(kCombo, L"ComboBox", L"", WS_TABSTOP | CBS_DROPDOWNLIST | WS_VSCROLL, 10, 70, 80, 60);
    return t;
}

// A dialog that records what reached it and ends after `script` ran, or
// after two seconds at the latest (a test that hangs helps nobody).
class RecordingDialog : public CDialog {
public:
    explicit RecordingDialog(const DLGTEMPLATE* t) : CDialog(t) {}
    std::vector<std::wstring> seen;
    std::function<void(RecordingDialog&)> script;
    bool consumeKeys = false;

    bool PreTranslateMessage(MSG& message) override
    {
        if (consumeKeys && message.message == WM_KEYDOWN) {
            seen.push_back(L"consumed key");
            return true;
        }
        return CDialog::PreTranslateMessage(message);
    }

protected:
    bool OnInitDialog() override
    {
        seen.push_back(L"init");
        OnTimer(kGiveUpTimer, [this] {
            seen.push_back(L"gave up");
            EndDialog(-2);
        });
        StartTimer(kGiveUpTimer, 2000);
        if (script)
            script(*this);
        return true;
    }
    void OnCancel() override
    {
        seen.push_back(L"cancel");
        CDialog::OnCancel();
    }
};

class RecordingControl : public CControl {
public:
    std::vector<std::wstring> seen;
};

TEST(DialogFramework, CommandTableGetsTheClickOfItsControlAndTimersTick)
{
    DialogTemplate t = ThreeControls();
    RecordingDialog dialog(t.Get());
    dialog.script = [](RecordingDialog& d) {
        d.OnCommand(kButton, BN_CLICKED, [&d] {
            d.seen.push_back(L"clicked");
            d.StartTimer(5, 10);
        });
        d.OnTimer(5, [&d] {
            d.StopTimer(5);
            d.seen.push_back(L"tick");
            d.EndDialog(42);
        });
        PostMessageW(d.Item(kButton), BM_CLICK, 0, 0);
    };
    EXPECT_EQ(dialog.DoModal(), 42);
    EXPECT_EQ(dialog.seen, (std::vector<std::wstring>{L"init", L"clicked", L"tick"}));
    EXPECT_EQ(dialog.Hwnd(), nullptr) << "the object is unbound when its window is gone";
}

TEST(DialogFramework, EscapeEndsTheModalDialogThroughOnCancelUnlessPreTranslationConsumesIt)
{
    struct Case {
        bool consumeKeys;
        INT_PTR result;
        std::vector<std::wstring> seen;
    };
    const Case cases[] = {
        {false, IDCANCEL, {L"init", L"cancel"}},
        {true, -2, {L"init", L"consumed key", L"gave up"}},
    };
    for (const Case& c : cases) {
        DialogTemplate t = ThreeControls();
        RecordingDialog dialog(t.Get());
        dialog.consumeKeys = c.consumeKeys;
        dialog.script = [](RecordingDialog& d) {
            // Posted, so that it comes through the modal loop as typed keys do.
            PostMessageW(d.Item(kButton), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
        };
        EXPECT_EQ(dialog.DoModal(), c.result) << c.consumeKeys;
        EXPECT_EQ(dialog.seen, c.seen) << c.consumeKeys;
    }
}

TEST(DialogFramework, ClosingEndsAModalDialogWithCancel)
{
    DialogTemplate t = ThreeControls();
    RecordingDialog dialog(t.Get());
    dialog.script = [](RecordingDialog& d) { PostMessageW(d.Hwnd(), WM_CLOSE, 0, 0); };
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

TEST(DialogFramework, ControlsBindByIdentifierOnceAndGetTheirReflectedMessages)
{
    DialogTemplate t = ThreeControls();
    RecordingDialog dialog(t.Get());
    RecordingControl drawn, label, combo, missing, again;
    bool secondBinding = true, missingBinding = true;
    HBRUSH labelBrush = CreateSolidBrush(RGB(1, 2, 3));
    LRESULT colourAnswer = 0, measureAnswer = 0, notifyAnswer = 0, unboundNotifyAnswer = -1;
    UINT measuredHeight = 0;
    dialog.script = [&](RecordingDialog& d) {
        ASSERT_TRUE(drawn.AttachToItem(d.Hwnd(), kOwnerDrawn));
        ASSERT_TRUE(label.AttachToItem(d.Hwnd(), kLabel));
        ASSERT_TRUE(combo.AttachToItem(d.Hwnd(), kCombo));
        secondBinding = again.AttachToItem(d.Hwnd(), kOwnerDrawn);
        missingBinding = missing.AttachToItem(d.Hwnd(), 4242);
        drawn.OnReflected(WM_DRAWITEM, [&](WPARAM, LPARAM l) -> LRESULT {
            auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(l);
            drawn.seen.push_back(item->hwndItem == drawn.Hwnd() ? L"draw" : L"draw for another");
            return TRUE;
        });
        label.OnReflected(WM_CTLCOLORSTATIC, [&](WPARAM, LPARAM) -> LRESULT {
            label.seen.push_back(L"colour");
            return reinterpret_cast<LRESULT>(labelBrush);
        });
        drawn.OnReflected(WM_MEASUREITEM, [&](WPARAM, LPARAM l) -> LRESULT {
            reinterpret_cast<MEASUREITEMSTRUCT*>(l)->itemHeight = 23;
            return TRUE;
        });
        combo.OnReflectedCommand(CBN_DROPDOWN, [&] { combo.seen.push_back(L"dropdown"); });
        d.OnNotify(kCombo, NM_CLICK, [](NMHDR& header) -> LRESULT { return header.hwndFrom ? 61 : 0; });
        d.OnCommand(kCombo, CBN_DROPDOWN, [&d] { d.seen.push_back(L"parent dropdown"); });
        d.StartTimer(3, 50);
        d.OnTimer(3, [&] {
            d.StopTimer(3);
            RedrawWindow(drawn.Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            HDC dc = GetDC(label.Hwnd());
            colourAnswer = SendMessageW(d.Hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                        reinterpret_cast<LPARAM>(label.Hwnd()));
            ReleaseDC(label.Hwnd(), dc);
            SendMessageW(d.Hwnd(), WM_COMMAND, MAKEWPARAM(kCombo, CBN_DROPDOWN),
                         reinterpret_cast<LPARAM>(combo.Hwnd()));
            MEASUREITEMSTRUCT measure{};
            measure.CtlType = ODT_BUTTON;
            measure.CtlID = kOwnerDrawn;
            measureAnswer = SendMessageW(d.Hwnd(), WM_MEASUREITEM, kOwnerDrawn, reinterpret_cast<LPARAM>(&measure));
            measuredHeight = measure.itemHeight;
            NMHDR header{combo.Hwnd(), static_cast<UINT_PTR>(kCombo), static_cast<UINT>(NM_CLICK)};
            notifyAnswer = SendMessageW(d.Hwnd(), WM_NOTIFY, kCombo, reinterpret_cast<LPARAM>(&header));
            header.code = NM_RCLICK;
            unboundNotifyAnswer = SendMessageW(d.Hwnd(), WM_NOTIFY, kCombo, reinterpret_cast<LPARAM>(&header));
            d.EndDialog(1);
        });
    };
    EXPECT_EQ(dialog.DoModal(), 1);
    EXPECT_FALSE(secondBinding) << "a control is bound to one object only";
    EXPECT_FALSE(missingBinding);
    ASSERT_FALSE(drawn.seen.empty());
    EXPECT_EQ(drawn.seen.front(), L"draw");
    ASSERT_FALSE(label.seen.empty());
    EXPECT_EQ(label.seen.back(), L"colour");
    EXPECT_EQ(colourAnswer, reinterpret_cast<LRESULT>(labelBrush));
    EXPECT_EQ(combo.seen, std::vector<std::wstring>{L"dropdown"});
    EXPECT_EQ(dialog.seen.back(), L"parent dropdown") << "the parent hears the notification too";
    EXPECT_EQ(measureAnswer, TRUE);
    EXPECT_EQ(measuredHeight, 23u) << "the measurement is the control's";
    EXPECT_EQ(notifyAnswer, 61) << "the notify table's handler answers";
    EXPECT_EQ(unboundNotifyAnswer, 0) << "a notification without a handler gets the default";
    DeleteObject(labelBrush);
}

// A child dialog inside a modal one handles Escape itself: its own cancel
// runs, the modal dialog goes on.
TEST(DialogFramework, ChildDialogHandlesTheKeysOfItsOwnControls)
{
    DialogTemplate outer(WS_POPUP | WS_CAPTION | WS_SYSMENU, 220, 140, L"Outer");
    // Without DS_CONTROL: with it the system treats the child as a part of
    // the outer dialog, keys included.
    DialogTemplate inner(WS_CHILD, 200, 100);
    inner.Add(kButton, L"Button", L"Inside", WS_TABSTOP | BS_PUSHBUTTON, 10, 10, 60, 14);
    RecordingDialog dialog(outer.Get());
    RecordingDialog child(inner.Get());
    dialog.script = [&](RecordingDialog& d) {
        ASSERT_TRUE(child.Create(d.Hwnd()));
        EXPECT_TRUE(GetWindowLongW(child.Hwnd(), GWL_EXSTYLE) & WS_EX_CONTROLPARENT);
        ShowWindow(child.Hwnd(), SW_SHOW);
        PostMessageW(child.Item(kButton), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
        // The outer dialog ends by a timer of its own once the key is handled.
        d.StartTimer(9, 200);
        d.OnTimer(9, [&d] { d.EndDialog(8); });
    };
    EXPECT_EQ(dialog.DoModal(), 8);
    EXPECT_EQ(dialog.seen, std::vector<std::wstring>{L"init"}) << "the outer dialog never saw the Escape";
    EXPECT_EQ(child.seen, (std::vector<std::wstring>{L"init", L"cancel"}));
}

// A modal dialog opened from inside another's modal loop is bound and runs
// as the first one does; the first goes on afterwards, its pre-translation
// still in place.
TEST(DialogFramework, ModalDialogInsideAModalLoop)
{
    DialogTemplate t = ThreeControls();
    RecordingDialog outer(t.Get());
    RecordingDialog inner(t.Get());
    INT_PTR innerResult = 0;
    inner.script = [](RecordingDialog& d) { PostMessageW(d.Hwnd(), WM_CLOSE, 0, 0); };
    outer.script = [&](RecordingDialog& d) {
        d.StartTimer(4, 10);
        d.OnTimer(4, [&] {
            d.StopTimer(4);
            innerResult = inner.DoModal(d.Hwnd());
            d.consumeKeys = true;
            PostMessageW(d.Item(kButton), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
            d.StartTimer(6, 100);
        });
        d.OnTimer(6, [&d] { d.EndDialog(5); });
    };
    EXPECT_EQ(outer.DoModal(), 5);
    EXPECT_EQ(innerResult, IDCANCEL);
    EXPECT_EQ(inner.seen, std::vector<std::wstring>{L"init"});
    EXPECT_EQ(outer.seen, (std::vector<std::wstring>{L"init", L"consumed key"}));
}

}  // namespace
