#include "ui/zyl_combo_edit.h"

#include <windowsx.h>

#include "ui/zyl_combo_messages.h"

CZYLComboBox_Edit::CZYLComboBox_Edit()
{
    OnMessage(WM_MOUSEMOVE, [this](WPARAM, LPARAM) {
        if (!tracking_) {
            TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, Hwnd(), 0};
            tracking_ = TrackMouseEvent(&track) != 0;
            SendMessageW(Combo(), kComboEditEntered, 0, 0);
        }
        return Default();
    });
    OnMessage(WM_MOUSELEAVE, [this](WPARAM, LPARAM) {
        tracking_ = false;
        SendMessageW(Combo(), kComboEditLeft, 0, 0);
        return Default();
    });
    OnMessage(WM_LBUTTONDOWN, [this](WPARAM w, LPARAM l) {
        if (!ReadOnly())
            return Default();
        POINT at = {GET_X_LPARAM(l), GET_Y_LPARAM(l)};
        MapWindowPoints(Hwnd(), Combo(), &at, 1);
        return SendMessageW(Combo(), WM_LBUTTONDOWN, w, MAKELPARAM(at.x, at.y));
    });
    OnMessage(WM_LBUTTONDBLCLK, [this](WPARAM, LPARAM) { return ReadOnly() ? LRESULT{0} : Default(); });
    OnMessage(EM_SETSEL, [this](WPARAM, LPARAM) { return ReadOnly() ? LRESULT{0} : Default(); });
    OnMessage(WM_SETCURSOR, [this](WPARAM, LPARAM) {
        if (!ReadOnly())
            return Default();
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
        return LRESULT{TRUE};
    });
    OnMessage(WM_SETFOCUS, [this](WPARAM w, LPARAM) {
        const LRESULT result = Default();
        // The combo passes its focus on to the edit child; giving it back
        // to the combo itself would pass it here again.
        HWND previous = reinterpret_cast<HWND>(w);
        if (ReadOnly() && previous && previous != Combo() && IsWindow(previous))
            SetFocus(previous);
        return result;
    });
}

bool CZYLComboBox_Edit::ReadOnly() const
{
    return (GetWindowLongW(Hwnd(), GWL_STYLE) & ES_READONLY) != 0;
}
