#include "ui/zyl_button.h"

#include "base/unique_handle.h"
#include "ui/dpi.h"
#include "ui/offscreen.h"
#include "ui/theme.h"

CZYLButton::CZYLButton()
{
    OnMessage(WM_CREATE, [this](WPARAM, LPARAM) -> LRESULT {
        InvalidateRect(Hwnd(), nullptr, FALSE);
        return Default();
    });
    OnMessage(WM_ERASEBKGND, [](WPARAM, LPARAM) -> LRESULT { return 1; });
    OnMessage(WM_MOUSEHOVER, [this](WPARAM, LPARAM) -> LRESULT {
        tracking = 1;
        hover = 1;
        InvalidateRect(Hwnd(), nullptr, FALSE);
        PostMessageW(Parent(), kButtonHoverMessage, reinterpret_cast<WPARAM>(this), 0);
        return 0;
    });
    OnReflected(WM_DRAWITEM, [this](WPARAM, LPARAM l) -> LRESULT {
        Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(l));
        return TRUE;
    });
}

void CZYLButton::OnAttached()
{
    SetWindowLongW(Hwnd(), GWL_STYLE, (GetWindowLongW(Hwnd(), GWL_STYLE) & ~BS_TYPEMASK) | BS_OWNERDRAW);
    SetWindowPos(Hwnd(), nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CZYLButton::SetAppearance(COLORREF normal, COLORREF hoverFill, COLORREF pressedFill, COLORREF border,
                               const std::wstring& caption)
{
    normalColor = normal;
    hoverColor = hoverFill;
    pressedColor = pressedFill;
    borderColor = border;
    text = caption;
    image = {};
}

void CZYLButton::SetImage(HBITMAP bitmap, SIZE size, int frameCount, int framesHorizontal)
{
    image.bitmap = bitmap;
    image.width = size.cx;
    image.height = size.cy;
    image.frameCount = frameCount;
    image.framesHorizontal = framesHorizontal;
}

LRESULT CZYLButton::OnPointerMove(POINT)
{
    if (!tracking) {
        TRACKMOUSEEVENT track{};
        track.cbSize = sizeof(track);
        track.dwFlags = TME_HOVER | TME_LEAVE;
        track.hwndTrack = Hwnd();
        track.dwHoverTime = 1;
        tracking = TrackMouseEvent(&track) ? 1 : 0;
    }
    return 0;
}

LRESULT CZYLButton::OnPointerLeave()
{
    tracking = 0;
    hover = 0;
    InvalidateRect(Hwnd(), nullptr, FALSE);
    PostMessageW(Parent(), kButtonLeaveMessage, 0, 0);
    return 0;
}

void CZYLButton::Draw(const DRAWITEMSTRUCT& item)
{
    const int w = item.rcItem.right - item.rcItem.left;
    const int h = item.rcItem.bottom - item.rcItem.top;
    OffscreenBitmap buffer(item.hDC, w, h);
    if (!buffer)
        return;
    HDC dc = buffer.DC();
    const RECT all{0, 0, w, h};
    FillSolidRect(dc, all, normalColor);
    if (hover || HeldDown()) {
        UniquePen pen(CreatePen(PS_SOLID, 1, borderColor));
        UniqueBrush fill(CreateSolidBrush(HeldDown() ? pressedColor : hoverColor));
        SelectedObject penIn(dc, pen.Get());
        SelectedObject brushIn(dc, fill.Get());
        Rectangle(dc, 0, 0, w, h);
    }
    if (image.frameCount > 0) {
        const SIZE frame = image.FrameSize();
        const int x = (w - frame.cx) / 2;
        const int y = (h - frame.cy) / 2;
        BlendGlyphFrame(dc, {x, y, x + frame.cx, y + frame.cy}, image, 0);
    }
    if (!text.empty()) {
        SelectedObject font(dc, ButtonFont());
        SetTextColor(dc, Theme().TitleText);
        SetBkMode(dc, TRANSPARENT);
        RECT r = all;
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_WORD_ELLIPSIS);
    }
    if (ShowsFocus()) {
        RECT focus = all;
        InflateRect(&focus, -2, -2);
        SetTextColor(dc, RGB(255, 255, 255));
        SetBkColor(dc, RGB(0, 0, 0));
        DrawFocusRect(dc, &focus);
    }
    buffer.CopyTo(item.hDC, item.rcItem.left, item.rcItem.top);
}
