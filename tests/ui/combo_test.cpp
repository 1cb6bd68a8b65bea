// The dark combo box on a real combo of a dialog, in selection-only mode
// as the settings panel configures it: its parts, what it paints, the
// drop-down toggled by a click, the drop width and the drop list kept on
// the monitor.
#include <gtest/gtest.h>

#include <string>

#include <oleacc.h>

#include "dialog_template.h"
#include "control_window_support.h"
#include "ui/dialog.h"
#include "ui/dpi.h"
#include "ui/image_cache.h"
#include "ui/image_variant.h"
#include "resource_ids.h"
#include "support/process_helpers.h"
#include "ui/theme.h"
#include "ui/zyl_combo.h"
#include "ui/zyl_combo_messages.h"
#include "ui_test_support.h"

using namespace image_testing;

namespace {

constexpr int kCombo = 141;
constexpr int kCombo31 = 176;
constexpr COLORREF kField = RGB(47, 48, 52);
constexpr COLORREF kButton = RGB(65, 66, 70);

std::wstring ItemName(int i)
{
    return L"Language entry number " + std::to_wstring(i) + (i == 7 ? L" with the longest name" : L"");
}

class ComboField : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The arrow strip comes from the installer's resources through the
        // process-wide image cache, as in the installer itself.
        static HMODULE setup = LoadLibraryExW((testing_support::BinaryDir() + L"\\PictoraSetup.exe").c_str(),
                                              nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_TRUE(LoadPngResource(ScreenImageVariantId(IDB_COMBO_ARROW), setup));
        Open(20);
    }
    void Open(int x)
    {
        InstallThemePalette();
        CreateThemeFonts();
        DialogTemplate t(WS_POPUP | WS_VISIBLE, 200, 80);
        const DWORD style = CBS_DROPDOWN | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | WS_VSCROLL | WS_TABSTOP;
        t.Add(kCombo, L"ComboBox", L"", style, 10, 10, 150, 120);
        t.Add(kCombo31, L"ComboBox", L"", style, 10, 40, 150, 120);
        dialog = std::make_unique<CDialog>(t.Get());
        dialog->OnMessage(kComboPointerEntered, [this](WPARAM, LPARAM) { ++entered; return LRESULT{0}; });
        dialog->OnMessage(kComboItemRightClick, [this](WPARAM w, LPARAM) {
            rightClicked = static_cast<int>(w);
            return LRESULT{0};
        });
        ASSERT_TRUE(dialog->Create(nullptr));
        SetWindowPos(dialog->Hwnd(), nullptr, x, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        Configure(combo, kCombo, 30);
        Configure(combo31, kCombo31, 31);
        ui_test::PumpMessages();
    }
    // As the settings panel sets its choosers up.
    void Configure(CZYLComboBox& c, int id, int items)
    {
        ASSERT_TRUE(c.AttachToItem(dialog->Hwnd(), id));
        c.backgroundColor = kField;
        c.buttonColor = kButton;
        c.borderColor = kField;
        c.font = BodyFont();
        c.DropList().font = BodyFont();
        SendMessageW(c.EditChild().Hwnd(), EM_SETREADONLY, TRUE, 0);
        for (int i = 0; i < items; ++i)
            SendMessageW(c.Hwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ItemName(i).c_str()));
        SendMessageW(c.Hwnd(), CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), 24);
        SendMessageW(c.Hwnd(), CB_SETITEMHEIGHT, 0, 24);
    }
    void TearDown() override
    {
        if (dialog && dialog->Hwnd()) {
            SendMessageW(combo.Hwnd(), CB_SHOWDROPDOWN, FALSE, 0);
            DestroyWindow(dialog->Hwnd());
        }
        ReleaseThemeFonts();
    }
    ScreenCapture Shot(CZYLComboBox& c)
    {
        RedrawWindow(c.Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        return ScreenCapture(c.Hwnd());
    }
    HWND List() const
    {
        COMBOBOXINFO parts = {};
        parts.cbSize = sizeof(parts);
        GetComboBoxInfo(combo.Hwnd(), &parts);
        return parts.hwndList;
    }
    // The brightest green channel in columns [x0, x1) of a capture.
    static int Brightest(const ScreenCapture& shot, int x0, int x1)
    {
        int best = 0;
        for (int y = 1; y < shot.Height() - 1; ++y)
            for (int x = x0; x < x1; ++x)
                best = std::max<int>(best, GetGValue(shot.At(x, y)));
        return best;
    }

    std::unique_ptr<CDialog> dialog;
    CZYLComboBox combo;
    CZYLComboBox combo31;
    int entered = 0;
    int rightClicked = -2;
};

TEST_F(ComboField, BindsItsPartsAndHidesTheEditChild)
{
    ASSERT_NE(combo.EditChild().Hwnd(), nullptr);
    EXPECT_FALSE(IsWindowVisible(combo.EditChild().Hwnd()));
    ASSERT_NE(List(), nullptr);
    EXPECT_EQ(combo.DropList().Hwnd(), List());
    EXPECT_TRUE(GetWindowLongW(List(), GWL_STYLE) & LBS_OWNERDRAWFIXED);
    RECT client;
    GetClientRect(combo.Hwnd(), &client);
    EXPECT_EQ(combo.ButtonRect().right, client.right - ScaleX(4)) << "the drop-button area";
}

TEST_F(ComboField, PaintsTheFieldTheButtonAreaTheSelectedTextAndTheBorder)
{
    ScreenCapture shot = Shot(combo);
    ASSERT_FALSE(shot.Empty());
    const int w = shot.Width(), h = shot.Height();
    EXPECT_EQ(shot.At(0, 0), kField) << "border at rest";
    EXPECT_EQ(shot.At(w / 2, 2), kField);
    EXPECT_EQ(shot.At(w - 3, 2), kButton);
    // Nothing selected, no cue text: no text in the field.
    EXPECT_LT(Brightest(shot, 2, w / 2), 60);

    combo.cueText = L"Choose a language";
    shot = Shot(combo);
    const int cue = Brightest(shot, 2, w / 2);
    EXPECT_GT(cue, 60) << "the cue text in grey";
    EXPECT_LT(cue, 130);

    SendMessageW(combo.Hwnd(), CB_SETCURSEL, 2, 0);
    shot = Shot(combo);
    EXPECT_GT(Brightest(shot, 2, w / 2), 200) << "the selected item's text in white";
    // The arrow at rest is the grey frame, not the white one.
    const int restingArrow = Brightest(shot, w - 30, w - 2);
    EXPECT_GT(restingArrow, 100);
    EXPECT_LT(restingArrow, 200);
    (void)h;
}

TEST_F(ComboField, HoverLightsTheBorderAndTheArrowAndTellsTheParent)
{
    const ScreenCapture resting = Shot(combo);
    const int restingArrow = Brightest(resting, resting.Width() - 30, resting.Width() - 2);
    SendMessageW(combo.Hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(20, 5));
    ui_test::PumpMessages();
    EXPECT_EQ(combo.hover, 1);
    EXPECT_EQ(combo.tracking, 1);
    EXPECT_EQ(entered, 1);
    const ScreenCapture shot = Shot(combo);
    EXPECT_EQ(shot.At(0, 0), RGB(54, 138, 211));
    const int hoverArrow = Brightest(shot, shot.Width() - 30, shot.Width() - 2);
    EXPECT_GT(hoverArrow, 200) << "the white arrow";
    EXPECT_GT(hoverArrow, restingArrow + 40) << "brighter than the grey one at rest";
    // The list closing clears the hover.
    SendMessageW(combo.Hwnd(), kComboListHidden, 0, 0);
    EXPECT_EQ(combo.hover, 0);
    EXPECT_EQ(Shot(combo).At(0, 0), kField);
}

// A click of the (real) mouse on the combo; while the list is open the
// list holds the mouse, and the click lands there.
void ClickAt(HWND window, int x, int y)
{
    POINT at = {x, y};
    ClientToScreen(window, &at);
    SetCursorPos(at.x, at.y);
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, input, sizeof(INPUT));
    ui_test::PumpMessages(20);
}

TEST_F(ComboField, AClickOpensAndAnotherClosesTheDropList)
{
    SetForegroundWindow(dialog->Hwnd());
    SendMessageW(combo.Hwnd(), CB_SETCURSEL, 2, 0);
    ClickAt(combo.Hwnd(), 20, 5);
    ASSERT_TRUE(SendMessageW(combo.Hwnd(), CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_TRUE(IsWindowVisible(List()));
    // Its items are drawn dark: the selected row lighter than the others.
    RedrawWindow(List(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const ScreenCapture items(List());
    ASSERT_FALSE(items.Empty());
    const int selected = static_cast<int>(SendMessageW(List(), LB_GETCURSEL, 0, 0));
    const int top = static_cast<int>(SendMessageW(List(), LB_GETTOPINDEX, 0, 0));
    ASSERT_GE(selected, top);
    const int other = selected == top ? top + 1 : top;
    EXPECT_EQ(items.At(items.Width() - 30, (selected - top) * 24 + 2), RGB(51, 60, 67)) << "selected row";
    EXPECT_EQ(items.At(items.Width() - 30, (other - top) * 24 + 2), RGB(20, 26, 32)) << "another row";

    ClickAt(combo.Hwnd(), 20, 5);
    EXPECT_FALSE(SendMessageW(combo.Hwnd(), CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_FALSE(IsWindowVisible(List()));
}

TEST_F(ComboField, HidingTheListClearsTheHover)
{
    SendMessageW(combo.Hwnd(), CB_SHOWDROPDOWN, TRUE, 0);
    combo.hover = 1;
    combo.buttonHover = 1;
    SendMessageW(combo.Hwnd(), CB_SHOWDROPDOWN, FALSE, 0);
    EXPECT_EQ(combo.hover, 0);
    EXPECT_EQ(combo.buttonHover, 0);
}

TEST_F(ComboField, ARightClickOnAListItemReachesTheParent)
{
    SendMessageW(combo.Hwnd(), CB_SHOWDROPDOWN, TRUE, 0);
    RECT item;
    SendMessageW(List(), LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
    SendMessageW(List(), WM_RBUTTONUP, 0, MAKELPARAM(item.left + 5, item.top + 3));
    ui_test::PumpMessages();
    EXPECT_EQ(rightClicked, 1);
    SendMessageW(List(), WM_RBUTTONUP, 0, MAKELPARAM(5, 30000));
    ui_test::PumpMessages();
    EXPECT_EQ(rightClicked, -1) << "no item under the pointer";
}

TEST_F(ComboField, TheDropWidthHoldsTheWidestItemAndAScrollBarBeyondThirty)
{
    for (CZYLComboBox* c : {&combo, &combo31})
        SendMessageW(dialog->Hwnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(c->Hwnd()), CBN_DROPDOWN),
                     reinterpret_cast<LPARAM>(c->Hwnd()));
    const int width30 = static_cast<int>(SendMessageW(combo.Hwnd(), CB_GETDROPPEDWIDTH, 0, 0));
    const int width31 = static_cast<int>(SendMessageW(combo31.Hwnd(), CB_GETDROPPEDWIDTH, 0, 0));
    EXPECT_EQ(width31 - width30, GetSystemMetrics(SM_CXVSCROLL));

    HDC dc = GetDC(combo.Hwnd());
    SelectObject(dc, BodyFont());
    SIZE longest;
    const std::wstring text = ItemName(7);
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &longest);
    ReleaseDC(combo.Hwnd(), dc);
    RECT window;
    GetWindowRect(combo.Hwnd(), &window);
    EXPECT_GT(width30, longest.cx);
    EXPECT_GT(width30, window.right - window.left) << "wider than the combo for this text";
}

TEST_F(ComboField, ADropListThatWouldRunPastTheMonitorEndsAtItsEdge)
{
    DestroyWindow(dialog->Hwnd());
    Open(GetSystemMetrics(SM_CXSCREEN) - 280);
    SendMessageW(dialog->Hwnd(), WM_COMMAND, MAKEWPARAM(kCombo, CBN_DROPDOWN),
                 reinterpret_cast<LPARAM>(combo.Hwnd()));
    SendMessageW(combo.Hwnd(), CB_SHOWDROPDOWN, TRUE, 0);
    RedrawWindow(List(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    ui_test::PumpMessages();
    RECT combined, list;
    GetWindowRect(combo.Hwnd(), &combined);
    GetWindowRect(List(), &list);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(combo.Hwnd(), MONITOR_DEFAULTTONEAREST), &monitor);
    ASSERT_GT(combined.left + (list.right - list.left), monitor.rcMonitor.right)
        << "the list is wide enough to run past the edge";
    EXPECT_EQ(list.right, monitor.rcMonitor.right);
}

TEST_F(ComboField, ScreenReadersReadAChooserThatOpensAndCloses)
{
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    combo.accessibleName = L"Language";
    AccessibleReading read = ReadAccessible(combo.Hwnd());
    ASSERT_TRUE(read.found);
    EXPECT_EQ(read.name, L"Language");
    EXPECT_EQ(read.role, ROLE_SYSTEM_COMBOBOX);
    EXPECT_TRUE(read.state & STATE_SYSTEM_COLLAPSED);
    EXPECT_EQ(read.defaultAction, L"Open");
    EXPECT_TRUE(DoAccessibleDefaultAction(combo.Hwnd()));
    EXPECT_TRUE(SendMessageW(combo.Hwnd(), CB_GETDROPPEDSTATE, 0, 0));
    read = ReadAccessible(combo.Hwnd());
    EXPECT_TRUE(read.state & STATE_SYSTEM_EXPANDED);
    EXPECT_EQ(read.defaultAction, L"Close");
    CoUninitialize();
}

}  // namespace
