// The buttons and labels of ours on real windows: clicks under synthetic
// pointer input, state colours, the keyboard (Tab order, Space, Enter,
// links) and what a screen reader reads (AccessibleObjectFromWindow).
#include <windows.h>

#include <oleacc.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "ui/dialog.h"
#include "ui/theme.h"
#include "ui/zyl_button.h"
#include "ui/zyl_static.h"
#include "ui/zyl_text_button.h"
#include "ui_test_support.h"

namespace {

using ui_test::StepRunner;

// MinGW's oleacc import library gives IID_IAccessible a wrong address;
// the interface's own identifier is right.
const IID kIAccessible = __uuidof(IAccessible);

constexpr int kInstall = 1001;
constexpr int kImage = 1002;
constexpr int kLink = 1003;
constexpr int kLabel = 1004;
constexpr int kOther = 1005;

DialogTemplate ControlsTemplate()
{
    DialogTemplate t(WS_POPUP | WS_BORDER, 240, 120);
    t.Add(kInstall, L"Button", L"Install", WS_TABSTOP | BS_PUSHBUTTON, 10, 10, 80, 20);
    t.Add(kImage, L"Button", L"", WS_TABSTOP | BS_PUSHBUTTON, 100, 10, 20, 20);
    t.Add(kLink, L"Static", L"Licence terms", SS_NOTIFY, 10, 40, 80, 10);
    t.Add(kLabel, L"Static", L"Installation folder", SS_RIGHT, 10, 60, 100, 10);
    t.Add(kOther, L"Button", L"Other", WS_TABSTOP | BS_PUSHBUTTON, 130, 10, 50, 20);
    return t;
}

// A dialog with one control of each kind bound, recording the clicks and
// hover notifications it receives.
class ControlsDialog : public CDialog {
public:
    explicit ControlsDialog(const DLGTEMPLATE* t) : CDialog(t) {}

    CZYLTextButton install;
    CZYLButton image;
    CZYLStatic link;
    CZYLStatic label;
    std::vector<int> clicks;     // control ids of BN_CLICKED / STN_CLICKED
    std::vector<UINT> pointer;   // 3024 / 3025 as they arrive
    std::vector<StepRunner::Step> steps;

    POINT ScreenPoint(HWND control, int x, int y)
    {
        POINT p{x, y};
        ClientToScreen(control, &p);
        return p;
    }
    POINT Centre(HWND control)
    {
        RECT r{};
        GetClientRect(control, &r);
        return ScreenPoint(control, r.right / 2, r.bottom / 2);
    }
    // A point inside the text button's body away from text, corners and
    // focus rectangle.
    COLORREF InstallBody()
    {
        RECT r{};
        GetClientRect(install.Hwnd(), &r);
        HDC dc = GetDC(install.Hwnd());
        const COLORREF c = GetPixel(dc, 6, r.bottom / 2);
        ReleaseDC(install.Hwnd(), dc);
        return c;
    }

protected:
    bool OnInitDialog() override
    {
        install.AttachToItem(Hwnd(), kInstall);
        image.AttachToItem(Hwnd(), kImage);
        link.AttachToItem(Hwnd(), kLink);
        label.AttachToItem(Hwnd(), kLabel);
        const ThemePalette& theme = Theme();
        image.SetAppearance(theme.WindowBackground, theme.FieldBorder, theme.FieldBorder, theme.FieldBorder, L"...");
        image.SetAccessibleName(L"Browse");
        link.MakeLink();
        link.textColor = theme.Accent;
        link.backgroundColor = theme.WindowBackground;
        label.textColor = theme.LabelText;
        label.backgroundColor = theme.WindowBackground;
        for (int id : {kInstall, kImage, kOther})
            OnCommand(id, BN_CLICKED, [this, id] { clicks.push_back(id); });
        OnCommand(kLink, STN_CLICKED, [this] { clicks.push_back(kLink); });
        OnMessage(kButtonHoverMessage, [this](WPARAM w, LPARAM) -> LRESULT {
            EXPECT_EQ(w, reinterpret_cast<WPARAM>(&image)) << "the hover message names the button";
            pointer.push_back(kButtonHoverMessage);
            return 0;
        });
        OnMessage(kButtonLeaveMessage, [this](WPARAM, LPARAM) -> LRESULT {
            pointer.push_back(kButtonLeaveMessage);
            return 0;
        });
        SetWindowPos(Hwnd(), nullptr, 200, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        runner_.Start(*this, steps, [this] { EndDialog(1); });
        return true;
    }

private:
    StepRunner runner_;
};

class Controls : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        InstallThemePalette();
        CreateThemeFonts();
    }
};

// Press on the text button, move as the case says, release: a click only
// when released inside after a press on it; none while disabled.
TEST_F(Controls, TextButtonClicksOnlyOnAReleaseInside)
{
    struct Case {
        const char* what;
        bool enabled;
        bool doubleClick;
        std::vector<POINT> moves;  // in button coordinates; {-1,-1}: outside
        bool releaseInside;
        size_t clicks;
    };
    const Case cases[] = {
        {"press, release inside", true, false, {}, true, 1},
        {"press, drag off, release outside", true, false, {{-40, 5}}, false, 0},
        {"press, drag off and back, release inside", true, false, {{-40, 5}, {20, 10}}, true, 1},
        {"double-click counts as a press", true, true, {}, true, 1},
        {"disabled", false, false, {}, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DialogTemplate t = ControlsTemplate();
        ControlsDialog d(t.Get());
        auto at = [&d](POINT p) { return d.ScreenPoint(d.install.Hwnd(), p.x, p.y); };
        d.steps.push_back([&] {
            if (!c.enabled)
                d.install.enabled = 0;
            ui_test::MoveMouseTo(at({20, 10}));
        });
        if (c.doubleClick) {
            d.steps.push_back([] {
                ui_test::LeftButton(true);
                ui_test::LeftButton(false);
                ui_test::LeftButton(true);
            });
        } else {
            d.steps.push_back([] { ui_test::LeftButton(true); });
        }
        for (POINT p : c.moves)
            d.steps.push_back([&, p] { ui_test::MoveMouseTo(at(p)); });
        d.steps.push_back([&] {
            if (!c.releaseInside)
                ui_test::MoveMouseTo(at({-40, 5}));
        });
        d.steps.push_back([] { ui_test::LeftButton(false); });
        d.steps.push_back([] {});
        EXPECT_EQ(d.DoModal(), 1);
        size_t installClicks = 0;
        for (int id : d.clicks)
            installClicks += id == kInstall;
        // The double-click case releases once between its presses.
        EXPECT_EQ(installClicks, c.clicks + (c.doubleClick ? 1 : 0));
    }
}

TEST_F(Controls, TextButtonColoursFollowThePointer)
{
    const ThemePalette& theme = Theme();
    DialogTemplate t = ControlsTemplate();
    ControlsDialog d(t.Get());
    auto at = [&d](int x, int y) { return d.ScreenPoint(d.install.Hwnd(), x, y); };
    d.steps = {
        [&] {
            EXPECT_EQ(d.InstallBody(), theme.Accent);
            ui_test::MoveMouseTo(at(20, 10));
        },
        [&] { return d.InstallBody() == theme.AccentHover; },
        [&] {
            EXPECT_EQ(d.InstallBody(), theme.AccentHover) << "under the pointer";
            ui_test::LeftButton(true);
        },
        [&] {
            EXPECT_EQ(d.InstallBody(), theme.AccentHover) << "held with the pointer inside";
            ui_test::MoveMouseTo(at(-40, 5));
        },
        [&] { return d.InstallBody() == theme.AccentPressed; },
        [&] {
            EXPECT_EQ(d.InstallBody(), theme.AccentPressed) << "held with the pointer outside";
            ui_test::LeftButton(false);
        },
        [&] { return d.InstallBody() == theme.Accent; },
        [&] {
            EXPECT_EQ(d.InstallBody(), theme.Accent);
            d.install.SetEnabled(false);
        },
        [&] { EXPECT_EQ(d.InstallBody(), theme.AccentDisabled); },
    };
    EXPECT_EQ(d.DoModal(), 1);
    EXPECT_TRUE(d.clicks.empty());
}

TEST_F(Controls, ImageButtonReportsHoverAndLeaveAndClicks)
{
    DialogTemplate t = ControlsTemplate();
    ControlsDialog d(t.Get());
    d.steps = {
        [&] { ui_test::MoveMouseTo(d.Centre(d.image.Hwnd())); },
        [&] { return !d.pointer.empty(); },
        [&] {
            EXPECT_TRUE(d.image.hover);
            ui_test::LeftButton(true);
        },
        [&] {
            EXPECT_EQ(GetFocus(), d.image.Hwnd()) << "a press gives the button the focus";
            ui_test::LeftButton(false);
        },
        [&] { ui_test::MoveMouseTo(d.Centre(d.Item(kOther))); },
        [&] { return d.pointer.size() >= 2; },
    };
    EXPECT_EQ(d.DoModal(), 1);
    EXPECT_EQ(d.pointer, (std::vector<UINT>{kButtonHoverMessage, kButtonLeaveMessage}));
    EXPECT_EQ(d.clicks, std::vector<int>{kImage});
    EXPECT_FALSE(d.image.hover);
}

// Tab moves through the controls that take the focus, in template order
// (a disabled button is passed by); Space and Enter press the focused
// button, Enter and Space follow a focused link.
TEST_F(Controls, KeyboardReachesAndPressesEveryControl)
{
    DialogTemplate t = ControlsTemplate();
    ControlsDialog d(t.Get());
    std::vector<HWND> focusOrder, expected;
    auto tab = [&](bool shift) {
        return [&, shift] {
            if (shift)
                ui_test::PressKey(VK_SHIFT, true);
            ui_test::TypeKey(VK_TAB);
            if (shift)
                ui_test::PressKey(VK_SHIFT, false);
        };
    };
    auto record = [&] { focusOrder.push_back(GetFocus()); };
    d.steps = {
        [&] {
            // Template order: Install, the image button, the link, Other.
            expected = {d.install.Hwnd(), d.image.Hwnd(), d.link.Hwnd(), d.Item(kOther),
                        d.install.Hwnd(), d.Item(kOther), d.image.Hwnd()};
            SetForegroundWindow(d.Hwnd());
            SetFocus(d.install.Hwnd());
            record();
        },
        tab(false), record, tab(false), record, tab(false), record, tab(false), record,
        tab(true), record,
        // Space on the focused Other, then on Install, Enter on it.
        [&] { ui_test::TypeKey(VK_SPACE); },
        [&] { SetFocus(d.install.Hwnd()); },
        [&] { ui_test::TypeKey(VK_SPACE); },
        [&] { ui_test::TypeKey(VK_RETURN); },
        // Enter on the focused link follows it. A disabled button is
        // passed by and its keys do nothing.
        [&] {
            d.install.SetEnabled(false);
            SetFocus(d.link.Hwnd());
        },
        [&] { ui_test::TypeKey(VK_RETURN); },
        tab(true), record,
        [&] {
            d.install.SetEnabled(true);
            SetFocus(d.install.Hwnd());
            d.install.enabled = 0;
            ui_test::TypeKey(VK_SPACE);
        },
        [&] { ui_test::TypeKey(VK_RETURN); },
    };
    EXPECT_EQ(d.DoModal(), 1);
    EXPECT_EQ(focusOrder, expected);
    EXPECT_EQ(d.clicks, (std::vector<int>{kOther, kInstall, kInstall, kLink}));
}

// Pixels of `control` that are not `background`, in its left and right
// halves.
std::pair<int, int> InkByHalf(HWND control, COLORREF background)
{
    RECT r{};
    GetClientRect(control, &r);
    HDC dc = GetDC(control);
    std::pair<int, int> ink{0, 0};
    for (int y = 0; y < r.bottom; ++y) {
        for (int x = 0; x < r.right; ++x) {
            if (GetPixel(dc, x, y) != background)
                ++(x < r.right / 2 ? ink.first : ink.second);
        }
    }
    ReleaseDC(control, dc);
    return ink;
}

TEST_F(Controls, LabelsDrawWithTheirFormatAndLinksShowTheHand)
{
    const ThemePalette& theme = Theme();
    DialogTemplate t = ControlsTemplate();
    ControlsDialog d(t.Get());
    std::pair<int, int> rightAligned, leftAligned;
    HCURSOR overLink = nullptr, overLabel = nullptr;
    d.steps = {
        [&] {
            // The label's own flags: right-aligned, one line, centred vertically.
            d.label.format = DT_SINGLELINE | DT_VCENTER | DT_RIGHT;
            d.label.SetLabel(L"Folder");
        },
        [&] {
            rightAligned = InkByHalf(d.label.Hwnd(), theme.WindowBackground);
            d.label.format = DT_SINGLELINE | DT_VCENTER | DT_LEFT;
            InvalidateRect(d.label.Hwnd(), nullptr, FALSE);
        },
        [&] {
            leftAligned = InkByHalf(d.label.Hwnd(), theme.WindowBackground);
            ui_test::MoveMouseTo(d.Centre(d.link.Hwnd()));
        },
        [&] { return GetCursor() == LoadCursorW(nullptr, IDC_HAND); },
        [&] {
            overLink = GetCursor();
            ui_test::MoveMouseTo(d.Centre(d.label.Hwnd()));
        },
        [&] { return GetCursor() != LoadCursorW(nullptr, IDC_HAND); },
        [&] { overLabel = GetCursor(); },
    };
    EXPECT_EQ(d.DoModal(), 1);
    EXPECT_EQ(rightAligned.first, 0) << "right-aligned text leaves the left half bare";
    EXPECT_GT(rightAligned.second, 0);
    EXPECT_GT(leftAligned.first, 0);
    EXPECT_EQ(leftAligned.second, 0) << "a short left-aligned text leaves the right half bare";
    EXPECT_EQ(overLink, LoadCursorW(nullptr, IDC_HAND));
    EXPECT_NE(overLabel, LoadCursorW(nullptr, IDC_HAND));
}

struct ReadBack {
    std::wstring name;
    LONG role = 0;
    LONG state = 0;
};

ReadBack ReadAccessible(HWND control)
{
    ReadBack read;
    IAccessible* object = nullptr;
    const HRESULT hr =
        AccessibleObjectFromWindow(control, OBJID_CLIENT, kIAccessible, reinterpret_cast<void**>(&object));
    if (FAILED(hr) || !object) {
        ADD_FAILURE() << "no accessible object: " << std::hex << hr << " WM_GETOBJECT answered "
                      << SendMessageW(control, WM_GETOBJECT, 0, OBJID_CLIENT);
        return read;
    }
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    if (SUCCEEDED(object->get_accName(self, &name)) && name) {
        read.name = name;
        SysFreeString(name);
    }
    VARIANT value{};
    if (SUCCEEDED(object->get_accRole(self, &value)) && value.vt == VT_I4)
        read.role = value.lVal;
    VariantClear(&value);
    if (SUCCEEDED(object->get_accState(self, &value)) && value.vt == VT_I4)
        read.state = value.lVal;
    VariantClear(&value);
    object->Release();
    return read;
}

TEST_F(Controls, ScreenReadersReadNamesRolesAndStates)
{
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    DialogTemplate t = ControlsTemplate();
    ControlsDialog d(t.Get());
    struct Expected {
        const char* what;
        HWND* window;
        std::wstring name;
        LONG role;
        LONG stateOn, stateOff;
    };
    HWND install = nullptr, image = nullptr, link = nullptr, label = nullptr;
    std::vector<ReadBack> reads;
    d.steps = {
        [&] {
            install = d.install.Hwnd();
            image = d.image.Hwnd();
            link = d.link.Hwnd();
            label = d.label.Hwnd();
            SetFocus(install);
        },
        [&] {
            const Expected cases[] = {
                {"text button", &install, L"Install", ROLE_SYSTEM_PUSHBUTTON, STATE_SYSTEM_FOCUSED | STATE_SYSTEM_FOCUSABLE,
                 STATE_SYSTEM_UNAVAILABLE},
                {"image button", &image, L"Browse", ROLE_SYSTEM_PUSHBUTTON, STATE_SYSTEM_FOCUSABLE,
                 STATE_SYSTEM_FOCUSED},
                {"link", &link, L"Licence terms", ROLE_SYSTEM_LINK, STATE_SYSTEM_LINKED | STATE_SYSTEM_FOCUSABLE, 0},
                {"label", &label, L"Installation folder", ROLE_SYSTEM_STATICTEXT, STATE_SYSTEM_READONLY,
                 STATE_SYSTEM_FOCUSABLE},
            };
            for (const Expected& e : cases) {
                SCOPED_TRACE(e.what);
                const ReadBack r = ReadAccessible(*e.window);
                EXPECT_EQ(r.name, e.name);
                EXPECT_EQ(r.role, e.role);
                EXPECT_EQ(r.state & e.stateOn, e.stateOn);
                EXPECT_EQ(r.state & e.stateOff, 0);
            }
            d.install.SetEnabled(false);
            d.install.SetText(L"Start Now");
        },
        [&] {
            const ReadBack r = ReadAccessible(install);
            EXPECT_EQ(r.name, L"Start Now") << "the name follows the text";
            EXPECT_TRUE(r.state & STATE_SYSTEM_UNAVAILABLE);
            // The default action of an enabled button is a click.
            d.install.SetEnabled(true);
            IAccessible* object = nullptr;
            ASSERT_TRUE(SUCCEEDED(AccessibleObjectFromWindow(image, OBJID_CLIENT, kIAccessible,
                                                             reinterpret_cast<void**>(&object))));
            VARIANT self{};
            self.vt = VT_I4;
            self.lVal = CHILDID_SELF;
            EXPECT_EQ(object->accDoDefaultAction(self), S_OK);
            object->Release();
        },
        [] {},
    };
    EXPECT_EQ(d.DoModal(), 1);
    EXPECT_EQ(d.clicks, std::vector<int>{kImage});
    CoUninitialize();
}

}  // namespace
