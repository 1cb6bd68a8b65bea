#include "ui/zyl_edit.h"

#include "base/unique_handle.h"
#include "ui/offscreen.h"

CZYLEdit::CZYLEdit()
{
    OnMessage(WM_NCCALCSIZE, [this](WPARAM w, LPARAM l) { return OnNcCalcSize(w, l); });
    OnMessage(WM_NCPAINT, [this](WPARAM, LPARAM) {
        Default();
        PaintBorder();
        return LRESULT{0};
    });
    // The edit sends WM_CTLCOLOREDIT, or WM_CTLCOLORSTATIC while read-only
    // or disabled; its parent reflects either here.
    OnReflected(WM_CTLCOLOREDIT, [this](WPARAM w, LPARAM) { return OnControlColor(reinterpret_cast<HDC>(w)); });
    OnReflected(WM_CTLCOLORSTATIC, [this](WPARAM w, LPARAM) { return OnControlColor(reinterpret_cast<HDC>(w)); });
    OnMessage(WM_SETCURSOR, [](WPARAM, LPARAM) {
        SetCursor(LoadCursorW(nullptr, IDC_IBEAM));
        return LRESULT{TRUE};
    });
    OnMessage(WM_LBUTTONDOWN, [this](WPARAM, LPARAM) {
        SetCapture(Hwnd());
        LRESULT result = 0;
        if (active || !Writable()) {
            result = Default();   // caret placement as usual
        } else {
            // The first click takes the whole text.
            SetFocus(Hwnd());
            SelectAll();
        }
        active = 1;
        RedrawFrame();
        return result;
    });
    OnMessage(WM_LBUTTONUP, [this](WPARAM, LPARAM) {
        ReleaseCapture();
        return Default();
    });
    OnMessage(WM_KILLFOCUS, [this](WPARAM, LPARAM) {
        active = 0;
        const LRESULT result = Default();
        RedrawFrame();
        return result;
    });
    OnMessage(WM_ENABLE, [this](WPARAM, LPARAM) {
        const LRESULT result = Default();
        RedrawFrame();
        return result;
    });
    OnMessage(WM_CHAR, [this](WPARAM w, LPARAM) {
        const LRESULT result = Default();
        if (w == VK_RETURN)
            CaretToEnd();
        return result;
    });
    // A right click has been handled on its way in; the system's menu of
    // the edit control is never shown.
    OnMessage(WM_CONTEXTMENU, [](WPARAM, LPARAM) { return LRESULT{0}; });
    OnMessage(WM_GETOBJECT, [this](WPARAM w, LPARAM l) -> LRESULT {
        const LRESULT answer = accessibleName.empty() ? 0 : AnswerGetObject(Hwnd(), w, l);
        return answer ? answer : Default();
    });
}

AccessibleDescription CZYLEdit::DescribeForAccessibility() const
{
    AccessibleDescription d;
    d.name = accessibleName;
    d.role = ROLE_SYSTEM_TEXT;
    d.state = CommonAccessibleState(Hwnd(), true);
    if (GetWindowLongW(Hwnd(), GWL_STYLE) & ES_READONLY)
        d.state |= STATE_SYSTEM_READONLY;
    return d;
}

void CZYLEdit::OnAttached()
{
    SetWindowLongW(Hwnd(), GWL_EXSTYLE, GetWindowLongW(Hwnd(), GWL_EXSTYLE) & ~WS_EX_CLIENTEDGE);
    SetWindowLongW(Hwnd(), GWL_STYLE, GetWindowLongW(Hwnd(), GWL_STYLE) & ~WS_BORDER);
    SetWindowPos(Hwnd(), nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool CZYLEdit::Writable() const
{
    return IsWindowEnabled(Hwnd()) && !(GetWindowLongW(Hwnd(), GWL_STYLE) & ES_READONLY);
}

void CZYLEdit::SelectAll()
{
    SendMessageW(Hwnd(), EM_SETSEL, 0, -1);
    SendMessageW(Hwnd(), EM_SCROLLCARET, 0, 0);
}

void CZYLEdit::CaretToEnd()
{
    const LRESULT length = GetWindowTextLengthW(Hwnd());
    SendMessageW(Hwnd(), EM_SETSEL, length, length);
    SendMessageW(Hwnd(), EM_SCROLLCARET, 0, 0);
}

void CZYLEdit::RedrawFrame()
{
    RedrawWindow(Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
}

LRESULT CZYLEdit::OnNcCalcSize(WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = Default();
    RECT* client = wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0]
                          : reinterpret_cast<RECT*>(lParam);
    TEXTMETRICW metrics = {};
    {
        WindowDC dc(Hwnd());
        auto font = reinterpret_cast<HFONT>(SendMessageW(Hwnd(), WM_GETFONT, 0, 0));
        SelectedObject selected(dc.Get(), font);
        if (!dc || !GetTextMetricsW(dc.Get(), &metrics))
            return result;
    }
    client->left += 1;
    client->right -= 1;
    // The text line in the middle of the field.
    const int margin =
        (client->bottom - client->top - metrics.tmHeight - metrics.tmExternalLeading) / 2;
    if (margin > 0) {
        client->top += margin;
        client->bottom -= margin;
    }
    return result;
}

void CZYLEdit::PaintBorder()
{
    WindowDC dc(Hwnd(), WindowDC::Area::Window);
    if (!dc)
        return;
    RECT window;
    GetWindowRect(Hwnd(), &window);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    // The client area in window coordinates.
    RECT client;
    GetClientRect(Hwnd(), &client);
    MapWindowPoints(Hwnd(), nullptr, reinterpret_cast<POINT*>(&client), 2);
    OffsetRect(&client, -window.left, -window.top);

    FillSolidRect(dc.Get(), RECT{1, 0, width - 1, client.top}, backgroundColor);
    FillSolidRect(dc.Get(), RECT{1, client.bottom, width - 1, height}, backgroundColor);
    UniqueBrush frame(CreateSolidBrush(active && Writable() ? focusBorderColor : borderColor));
    RECT all = {0, 0, width, height};
    FrameRect(dc.Get(), &all, frame.Get());
}

LRESULT CZYLEdit::OnControlColor(HDC dc)
{
    SetTextColor(dc, Writable() ? textColor : GetSysColor(COLOR_GRAYTEXT));
    SetBkMode(dc, TRANSPARENT);
    SetBkColor(dc, backgroundColor);
    HBRUSH brush = backgroundBrush ? backgroundBrush : static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    return reinterpret_cast<LRESULT>(brush);
}

void CZYLEdit::OnRightButtonDown()
{
    if (active || !Writable())
        CaretToEnd();
    else
        SelectAll();
    SetFocus(Hwnd());
    active = 1;
    RedrawFrame();
}

bool CZYLEdit::PreTranslateMessage(MSG& message)
{
    if (message.hwnd != Hwnd())
        return false;
    if (message.message == WM_RBUTTONDOWN) {
        OnRightButtonDown();
        return true;
    }
    if (message.message != WM_KEYDOWN || GetKeyState(VK_CONTROL) >= 0 || GetKeyState(VK_SHIFT) < 0)
        return false;
    switch (message.wParam) {
    case 'A':
        SelectAll();
        return true;
    case 'C':
        SendMessageW(Hwnd(), WM_COPY, 0, 0);
        return true;
    case 'X':
        SendMessageW(Hwnd(), WM_CUT, 0, 0);
        return true;
    case 'V':
        if (pasteAllowed)
            SendMessageW(Hwnd(), WM_PASTE, 0, 0);
        return true;
    default:
        return false;
    }
}
