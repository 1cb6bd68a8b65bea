#include "ui/zyl_clickable.h"

CZYLClickable::CZYLClickable()
{
    OnMessage(WM_MOUSEMOVE, [this](WPARAM, LPARAM l) -> LRESULT {
        return enabled ? OnPointerMove({static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l))}) : 0;
    });
    OnMessage(WM_MOUSELEAVE, [this](WPARAM, LPARAM) { return OnPointerLeave(); });
    OnMessage(WM_LBUTTONDOWN, [this](WPARAM, LPARAM) { return OnButtonDown(); });
    OnMessage(WM_LBUTTONDBLCLK, [this](WPARAM, LPARAM) { return OnButtonDown(); });
    OnMessage(WM_LBUTTONUP, [this](WPARAM, LPARAM l) { return OnButtonUp(l); });
    OnMessage(WM_GETDLGCODE, [this](WPARAM, LPARAM l) -> LRESULT {
        LRESULT code = Default();
        // Enter reaches a focused button of ours instead of pressing the
        // dialog's default button.
        const MSG* message = reinterpret_cast<const MSG*>(l);
        if (message && message->message == WM_KEYDOWN && message->wParam == VK_RETURN)
            code |= DLGC_WANTMESSAGE;
        return code;
    });
    OnMessage(WM_KEYDOWN, [this](WPARAM key, LPARAM l) -> LRESULT {
        if (key != VK_SPACE && key != VK_RETURN)
            return Default();
        const bool repeat = (l & 0x40000000) != 0;
        if (!enabled || repeat)
            return 0;
        if (key == VK_RETURN) {
            PostClick();
        } else {
            keyPressed_ = 1;
            Redraw();
        }
        return 0;
    });
    OnMessage(WM_KEYUP, [this](WPARAM key, LPARAM) -> LRESULT {
        if (key != VK_SPACE)
            return Default();
        if (keyPressed_) {
            keyPressed_ = 0;
            Redraw();
            if (enabled)
                PostClick();
        }
        return 0;
    });
    for (UINT message : {WM_SETFOCUS, WM_KILLFOCUS}) {
        OnMessage(message, [this, message](WPARAM, LPARAM) -> LRESULT {
            const LRESULT result = Default();
            if (message == WM_KILLFOCUS)
                keyPressed_ = 0;
            InvalidateRect(Hwnd(), nullptr, FALSE);
            return result;
        });
    }
    OnMessage(WM_GETOBJECT, [this](WPARAM w, LPARAM l) -> LRESULT {
        const LRESULT answer = AnswerGetObject(Hwnd(), w, l);
        return answer ? answer : Default();
    });
}

void CZYLClickable::SetEnabled(bool on)
{
    enabled = on ? 1 : 0;
    if (Hwnd()) {
        EnableWindow(Hwnd(), on);
        Redraw();
    }
}

AccessibleDescription CZYLClickable::DescribeForAccessibility() const
{
    AccessibleDescription d;
    d.name = accessibleName_.empty() ? AccessibleText() : accessibleName_;
    d.role = accessibleRole_;
    d.state = CommonAccessibleState(Hwnd(), enabled != 0);
    if (pressed || keyPressed_)
        d.state |= STATE_SYSTEM_PRESSED;
    if (hover)
        d.state |= STATE_SYSTEM_HOTTRACKED;
    if (accessibleRole_ == ROLE_SYSTEM_CHECKBUTTON && accessibleChecked_)
        d.state |= STATE_SYSTEM_CHECKED;
    if (enabled)
        d.defaultAction = accessibleRole_ == ROLE_SYSTEM_CHECKBUTTON ? L"Check" : L"Press";
    return d;
}

void CZYLClickable::Redraw()
{
    if (Hwnd())
        RedrawWindow(Hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_INVALIDATE);
}

void CZYLClickable::PostClick()
{
    PostMessageW(Parent(), WM_COMMAND, MAKEWPARAM(ControlId(), BN_CLICKED), reinterpret_cast<LPARAM>(Hwnd()));
}

LRESULT CZYLClickable::OnPointerMove(POINT)
{
    return 0;
}

bool CZYLClickable::Inside(POINT point) const
{
    RECT client{};
    GetClientRect(Hwnd(), &client);
    return PtInRect(&client, point) != FALSE;
}

LRESULT CZYLClickable::OnPointerLeave()
{
    tracking = 0;
    hover = 0;
    Redraw();
    return 0;
}

LRESULT CZYLClickable::OnButtonDown()
{
    if (!enabled)
        return 0;
    if (!HasFocus())
        SetFocus(Hwnd());
    if (!captured) {
        captured = 1;
        SetCapture(Hwnd());
        pressed = 1;
    }
    InvalidateRect(Hwnd(), nullptr, FALSE);
    return 0;
}

LRESULT CZYLClickable::OnButtonUp(LPARAM point)
{
    if (!enabled)
        return 0;
    if (captured) {
        captured = 0;
        ReleaseCapture();
    }
    if (pressed) {
        pressed = 0;
        if (Inside({static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))}))
            PostClick();
    }
    InvalidateRect(Hwnd(), nullptr, FALSE);
    return 0;
}
