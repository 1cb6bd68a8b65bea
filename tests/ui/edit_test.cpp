// The dark edit field on a real edit control of a dialog: its frame, the
// centred text line, the first click selecting all, the right click and
// the Ctrl shortcuts consumed before dispatch.
#include <gtest/gtest.h>

#include <string>

#include "dialog_template.h"
#include <oleacc.h>

#include "control_window_support.h"
#include "ui/dialog.h"
#include "ui/message_filter.h"
#include "ui/zyl_edit.h"
#include "ui_test_support.h"

namespace {

constexpr int kEdit = 143;
constexpr int kOther = 1001;
const wchar_t kPath[] = L"C:\\Program Files\\Pictora Maxora";

// Holds the keyboard's Ctrl (and Shift) keys down for this thread.
class HeldKeys {
public:
    HeldKeys(bool control, bool shift)
    {
        GetKeyboardState(saved_);
        BYTE state[256];
        memcpy(state, saved_, sizeof(state));
        state[VK_CONTROL] = control ? 0x80 : 0;
        state[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(state);
    }
    ~HeldKeys() { SetKeyboardState(saved_); }

private:
    BYTE saved_[256];
};

class EditField : public ::testing::Test {
protected:
    void SetUp() override
    {
        DialogTemplate t(WS_POPUP | WS_VISIBLE, 220, 60);
        t.Add(kEdit, L"Edit", kPath, WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 10, 10, 180, 18,
              WS_EX_CLIENTEDGE);
        t.Add(kOther, L"Button", L"Other", WS_TABSTOP, 10, 34, 50, 14);
        dialog = std::make_unique<CDialog>(t.Get());
        ASSERT_TRUE(dialog->Create(nullptr));
        ASSERT_TRUE(edit.AttachToItem(dialog->Hwnd(), kEdit));
        edit.backgroundColor = RGB(47, 48, 52);
        edit.borderColor = RGB(47, 48, 52);
        brush = CreateSolidBrush(edit.backgroundColor);
        edit.backgroundBrush = brush;
        edit.inputMode = 2;
        SetForegroundWindow(dialog->Hwnd());
        SetFocus(dialog->Item(kOther));
        ui_test::PumpMessages();
    }
    void TearDown() override
    {
        if (dialog && dialog->Hwnd())
            DestroyWindow(dialog->Hwnd());
        DeleteObject(brush);
    }
    std::pair<DWORD, DWORD> Selection() const
    {
        DWORD start = 0, end = 0;
        SendMessageW(edit.Hwnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return {start, end};
    }
    void Click(UINT down, UINT up, int x)
    {
        const LPARAM at = MAKELPARAM(x, 5);
        MSG message = {edit.Hwnd(), down, 0, at, 0, {}};
        if (!PreTranslateForDispatch(message))
            SendMessageW(edit.Hwnd(), down, down == WM_LBUTTONDOWN ? MK_LBUTTON : MK_RBUTTON, at);
        SendMessageW(edit.Hwnd(), up, 0, at);
        ui_test::PumpMessages();
    }
    // Ctrl+key as the field's pre-translation sees it before dispatch
    // (the dialog further up handles other keys itself); true when the
    // field consumed it.
    bool Key(WPARAM key, bool control = true, bool shift = false)
    {
        HeldKeys held(control, shift);
        MSG message = {edit.Hwnd(), WM_KEYDOWN, key, 1, 0, {}};
        return edit.PreTranslateMessage(message);
    }
    COLORREF FramePixel()
    {
        ui_test::PumpMessages();
        RedrawWindow(edit.Hwnd(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
        HDC dc = GetWindowDC(edit.Hwnd());
        const COLORREF c = GetPixel(dc, 0, 0);
        ReleaseDC(edit.Hwnd(), dc);
        return c;
    }
    std::wstring Text() const
    {
        wchar_t text[256] = {};
        GetWindowTextW(edit.Hwnd(), text, 256);
        return text;
    }
    const DWORD length = static_cast<DWORD>(wcslen(kPath));
    std::unique_ptr<CDialog> dialog;
    CZYLEdit edit;
    HBRUSH brush = nullptr;
};

TEST_F(EditField, DrawsItsOwnBorderAroundACentredTextLine)
{
    EXPECT_FALSE(GetWindowLongW(edit.Hwnd(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_FALSE(GetWindowLongW(edit.Hwnd(), GWL_STYLE) & WS_BORDER);
    RECT window, client;
    GetWindowRect(edit.Hwnd(), &window);
    GetClientRect(edit.Hwnd(), &client);
    HDC dc = GetDC(edit.Hwnd());
    SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(edit.Hwnd(), WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics;
    GetTextMetricsW(dc, &metrics);
    ReleaseDC(edit.Hwnd(), dc);
    const int height = window.bottom - window.top;
    const int margin = (height - metrics.tmHeight - metrics.tmExternalLeading) / 2;
    EXPECT_EQ(client.right, window.right - window.left - 2);
    EXPECT_EQ(client.bottom, height - 2 * margin);
    EXPECT_GT(margin, 1) << "the field is taller than its text line";
}

TEST_F(EditField, TheFirstClickSelectsAllAndTheSecondPlacesTheCaret)
{
    Click(WM_LBUTTONDOWN, WM_LBUTTONUP, 60);
    EXPECT_EQ(GetFocus(), edit.Hwnd());
    EXPECT_EQ(edit.active, 1);
    EXPECT_EQ(Selection(), std::make_pair(DWORD{0}, length));
    Click(WM_LBUTTONDOWN, WM_LBUTTONUP, 3);
    const auto [start, end] = Selection();
    EXPECT_EQ(start, end) << "a caret, no selection";
    EXPECT_LT(start, length);
    EXPECT_EQ(GetCapture(), nullptr) << "the button-up released the mouse";
}

TEST_F(EditField, TheFrameShowsTheFocusColourWhileActive)
{
    EXPECT_EQ(FramePixel(), RGB(47, 48, 52));
    Click(WM_LBUTTONDOWN, WM_LBUTTONUP, 60);
    EXPECT_EQ(FramePixel(), RGB(54, 138, 211));
    SetFocus(dialog->Item(kOther));
    EXPECT_EQ(edit.active, 0);
    EXPECT_EQ(FramePixel(), RGB(47, 48, 52));
}

TEST_F(EditField, ARightClickSelectsAllThenMovesTheCaretToTheEnd)
{
    Click(WM_RBUTTONDOWN, WM_RBUTTONUP, 20);
    EXPECT_EQ(GetFocus(), edit.Hwnd());
    EXPECT_EQ(edit.active, 1);
    EXPECT_EQ(Selection(), std::make_pair(DWORD{0}, length));
    Click(WM_RBUTTONDOWN, WM_RBUTTONUP, 20);
    EXPECT_EQ(Selection(), std::make_pair(length, length));
}

TEST_F(EditField, CtrlShortcutsAreConsumedAndDoTheirWork)
{
    SetFocus(edit.Hwnd());
    SendMessageW(edit.Hwnd(), EM_SETSEL, 3, 3);
    EXPECT_TRUE(Key('A'));
    EXPECT_EQ(Selection(), std::make_pair(DWORD{0}, length));

    SendMessageW(edit.Hwnd(), EM_SETSEL, 0, 2);  // "C:"
    EXPECT_TRUE(Key('C'));
    SendMessageW(edit.Hwnd(), EM_SETSEL, length, length);
    EXPECT_TRUE(Key('V'));
    EXPECT_EQ(Text(), std::wstring(kPath) + L"C:");

    SendMessageW(edit.Hwnd(), EM_SETSEL, 0, 3);  // "C:\"
    EXPECT_TRUE(Key('X'));
    EXPECT_EQ(Text(), std::wstring(kPath + 3) + L"C:");

    edit.pasteAllowed = 0;
    SendMessageW(edit.Hwnd(), EM_SETSEL, 0, 0);
    EXPECT_TRUE(Key('V')) << "consumed even when pasting is not allowed";
    EXPECT_EQ(Text(), std::wstring(kPath + 3) + L"C:");

    struct Passed {
        WPARAM key;
        bool control, shift;
    };
    for (const Passed& p : {Passed{'A', true, true}, Passed{'A', false, false}, Passed{'Z', true, false},
                            Passed{VK_LEFT, true, false}})
        EXPECT_FALSE(Key(p.key, p.control, p.shift)) << p.key << " ctrl " << p.control << " shift " << p.shift;
}

TEST_F(EditField, EnterPutsTheCaretAtTheEnd)
{
    SetFocus(edit.Hwnd());
    SendMessageW(edit.Hwnd(), EM_SETSEL, 0, 4);
    SendMessageW(edit.Hwnd(), WM_CHAR, VK_RETURN, 1);
    EXPECT_EQ(Selection(), std::make_pair(length, length));
    EXPECT_EQ(Text(), kPath) << "a single-line field keeps its text";
}

TEST_F(EditField, ColoursComeFromTheFieldAndGreyWhenItCannotBeWritten)
{
    HDC dc = GetDC(edit.Hwnd());
    LRESULT answer = SendMessageW(dialog->Hwnd(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                                  reinterpret_cast<LPARAM>(edit.Hwnd()));
    EXPECT_EQ(answer, reinterpret_cast<LRESULT>(brush));
    EXPECT_EQ(GetTextColor(dc), RGB(255, 255, 255));
    EXPECT_EQ(GetBkColor(dc), RGB(47, 48, 52));
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);

    SendMessageW(edit.Hwnd(), EM_SETREADONLY, TRUE, 0);
    answer = SendMessageW(dialog->Hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                          reinterpret_cast<LPARAM>(edit.Hwnd()));
    EXPECT_EQ(answer, reinterpret_cast<LRESULT>(brush));
    EXPECT_EQ(GetTextColor(dc), GetSysColor(COLOR_GRAYTEXT));
    ReleaseDC(edit.Hwnd(), dc);

    // Read-only: clicks place the caret, and the frame stays at rest.
    Click(WM_LBUTTONDOWN, WM_LBUTTONUP, 3);
    EXPECT_NE(Selection(), std::make_pair(DWORD{0}, length));
    EXPECT_EQ(FramePixel(), RGB(47, 48, 52));
}

TEST_F(EditField, TheCursorIsTheTextCursor)
{
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_TRUE(SendMessageW(edit.Hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(edit.Hwnd()),
                             MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_IBEAM));
}

TEST_F(EditField, ScreenReadersReadTheNameItIsGiven)
{
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    edit.accessibleName = L"Installation folder";
    image_testing::AccessibleReading read = image_testing::ReadAccessible(edit.Hwnd());
    ASSERT_TRUE(read.found);
    EXPECT_EQ(read.name, L"Installation folder");
    EXPECT_EQ(read.role, ROLE_SYSTEM_TEXT);
    EXPECT_FALSE(read.state & STATE_SYSTEM_READONLY);
    SendMessageW(edit.Hwnd(), EM_SETREADONLY, TRUE, 0);
    read = image_testing::ReadAccessible(edit.Hwnd());
    EXPECT_TRUE(read.state & STATE_SYSTEM_READONLY);
    CoUninitialize();
}

}  // namespace
