#include "ui/zyl_static.h"

#include "base/unique_handle.h"
#include "ui/dpi.h"
#include "ui/offscreen.h"

CZYLStatic::CZYLStatic()
{
    for (UINT message : {WM_MOUSEMOVE, WM_LBUTTONDOWN}) {
        OnMessage(message, [this](WPARAM, LPARAM) -> LRESULT {
            if (isLink)
                SetCursor(LoadCursorW(nullptr, IDC_HAND));
            return Default();
        });
    }
    OnMessage(WM_SETFOCUS, [this](WPARAM, LPARAM) -> LRESULT {
        const LRESULT result = Default();
        if (!focused) {
            focused = 1;
            InvalidateRect(Hwnd(), nullptr, FALSE);
        }
        return result;
    });
    OnMessage(WM_KILLFOCUS, [this](WPARAM, LPARAM) -> LRESULT {
        const LRESULT result = Default();
        if (focused) {
            focused = 0;
            InvalidateRect(Hwnd(), nullptr, FALSE);
        }
        return result;
    });
    OnMessage(WM_GETDLGCODE, [this](WPARAM, LPARAM l) -> LRESULT {
        LRESULT code = Default();
        const MSG* message = reinterpret_cast<const MSG*>(l);
        if (isLink && message && message->message == WM_KEYDOWN && message->wParam == VK_RETURN)
            code |= DLGC_WANTMESSAGE;
        return code;
    });
    OnMessage(WM_KEYDOWN, [this](WPARAM key, LPARAM l) -> LRESULT {
        const bool repeat = (l & 0x40000000) != 0;
        if (isLink && (key == VK_RETURN || key == VK_SPACE)) {
            if (!repeat)
                DoAccessibleDefaultAction();
            return 0;
        }
        return Default();
    });
    OnMessage(WM_GETOBJECT, [this](WPARAM w, LPARAM l) -> LRESULT {
        const LRESULT answer = AnswerGetObject(Hwnd(), w, l);
        return answer ? answer : Default();
    });
    OnReflected(WM_DRAWITEM, [this](WPARAM, LPARAM l) -> LRESULT {
        Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(l));
        return TRUE;
    });
}

void CZYLStatic::OnAttached()
{
    // The type bits are replaced, not added to: right alignment (2) with
    // the owner-draw type (13) would make another type of static.
    SetWindowLongW(Hwnd(), GWL_STYLE, (GetWindowLongW(Hwnd(), GWL_STYLE) & ~SS_TYPEMASK) | SS_OWNERDRAW);
    const int length = GetWindowTextLengthW(Hwnd());
    if (text.empty() && length > 0) {
        text.resize(static_cast<size_t>(length) + 1);
        text.resize(static_cast<size_t>(GetWindowTextW(Hwnd(), text.data(), length + 1)));
    }
}

void CZYLStatic::SetLabel(const std::wstring& label)
{
    text = label;
    if (Hwnd()) {
        SetWindowTextW(Hwnd(), label.c_str());
        InvalidateRect(Hwnd(), nullptr, FALSE);
    }
}

void CZYLStatic::MakeLink()
{
    isLink = 1;
    if (Hwnd())
        SetWindowLongW(Hwnd(), GWL_STYLE, GetWindowLongW(Hwnd(), GWL_STYLE) | WS_TABSTOP | SS_NOTIFY);
}

AccessibleDescription CZYLStatic::DescribeForAccessibility() const
{
    AccessibleDescription d;
    d.name = text;
    if (isLink) {
        d.role = ROLE_SYSTEM_LINK;
        d.state = CommonAccessibleState(Hwnd(), true) | STATE_SYSTEM_LINKED;
        d.defaultAction = L"Jump";
    } else {
        d.role = ROLE_SYSTEM_STATICTEXT;
        d.state = STATE_SYSTEM_READONLY;
    }
    return d;
}

void CZYLStatic::DoAccessibleDefaultAction()
{
    if (isLink)
        PostMessageW(Parent(), WM_COMMAND, MAKEWPARAM(ControlId(), STN_CLICKED), reinterpret_cast<LPARAM>(Hwnd()));
}

void CZYLStatic::Draw(const DRAWITEMSTRUCT& item)
{
    const int w = item.rcItem.right - item.rcItem.left;
    const int h = item.rcItem.bottom - item.rcItem.top;
    OffscreenBitmap buffer(item.hDC, w, h);
    if (!buffer)
        return;
    HDC dc = buffer.DC();
    RECT all{0, 0, w, h};
    FillSolidRect(dc, all, backgroundColor);
    if (!text.empty()) {
        SetBkMode(dc, TRANSPARENT);
        UniqueFont fallback;
        if (!font)
            fallback.Reset(CreateFontW(ScaleX(14), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                       OUT_STROKE_PRECIS, CLIP_STROKE_PRECIS, PROOF_QUALITY, 0, L"Arial"));
        SelectedObject selected(dc, font ? font : fallback.Get());
        SetTextColor(dc, textColor);
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &all, format);
    }
    buffer.CopyTo(item.hDC, item.rcItem.left, item.rcItem.top);
    if (isLink && focused) {
        RECT focus = item.rcItem;
        InflateRect(&focus, -2, -2);
        DrawFocusRect(item.hDC, &focus);
    }
}
