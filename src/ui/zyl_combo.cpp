#include "ui/zyl_combo.h"

#include <windowsx.h>

#include <algorithm>
#include <vector>

#include "base/unique_handle.h"
#include "resource_ids.h"
#include "ui/dpi.h"
#include "ui/image_cache.h"
#include "ui/image_pixels.h"
#include "ui/image_variant.h"
#include "ui/offscreen.h"
#include "ui/theme.h"
#include "ui/zyl_combo_logic.h"
#include "ui/zyl_combo_messages.h"

namespace {

std::wstring ItemText(HWND combo, int index)
{
    const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, index, 0);
    if (length <= 0)
        return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(wcslen(text.c_str()));
    return text;
}

// The drop list is seven rows of 22 DIPs, by the unstepped vertical ratio.
int DropListHeight()
{
    return 7 * (CachedScreenDpi().y * 22 / 96);
}

}  // namespace

CZYLComboBox::CZYLComboBox()
{
    OnMessage(WM_SIZE, [this](WPARAM, LPARAM) {
        const LRESULT result = Default();
        OnSize();
        return result;
    });
    OnMessage(WM_PAINT, [this](WPARAM, LPARAM) {
        PaintCombo();
        return LRESULT{0};
    });
    OnMessage(WM_ERASEBKGND, [](WPARAM, LPARAM) { return LRESULT{1}; });
    OnMessage(WM_LBUTTONDOWN, [this](WPARAM, LPARAM l) {
        OnLeftButtonDown({GET_X_LPARAM(l), GET_Y_LPARAM(l)});
        return LRESULT{0};
    });
    OnMessage(WM_LBUTTONDBLCLK, [this](WPARAM, LPARAM l) {
        OnLeftButtonDown({GET_X_LPARAM(l), GET_Y_LPARAM(l)});
        return LRESULT{0};
    });
    OnMessage(WM_MOUSEMOVE, [this](WPARAM, LPARAM l) {
        OnMouseMove({GET_X_LPARAM(l), GET_Y_LPARAM(l)});
        return Default();
    });
    OnMessage(WM_MOUSELEAVE, [this](WPARAM, LPARAM) {
        OnMouseLeave();
        return Default();
    });
    OnMessage(kComboEditEntered, [this](WPARAM, LPARAM) {
        if (!hover) {
            hover = 1;
            Redraw();
        }
        return LRESULT{0};
    });
    OnMessage(kComboEditLeft, [this](WPARAM, LPARAM) {
        POINT cursor;
        RECT window;
        GetCursorPos(&cursor);
        GetWindowRect(Hwnd(), &window);
        if (!PtInRect(&window, cursor) && hover) {
            hover = 0;
            Redraw();
        }
        return LRESULT{0};
    });
    OnMessage(kComboListHidden, [this](WPARAM, LPARAM) {
        hover = 0;
        buttonHover = 0;
        Redraw();
        return LRESULT{0};
    });
    OnMessage(kComboListRightUp, [this](WPARAM w, LPARAM l) {
        PostMessageW(GetParent(Hwnd()), kComboItemRightClick, w, l);
        return LRESULT{0};
    });
    // The list's items (the combo hands its list's WM_DRAWITEM on to its
    // parent; it is drawn here instead).
    OnMessage(WM_DRAWITEM, [this](WPARAM, LPARAM l) {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(l);
        if (static_cast<int>(item.itemID) >= 0 && !(item.itemState & ODS_COMBOBOXEDIT)) {
            list_.DrawItem(item);
            return LRESULT{TRUE};
        }
        return Default();
    });
    // Sent each time the drop list paints.
    OnMessage(WM_CTLCOLORLISTBOX, [this](WPARAM, LPARAM l) {
        KeepDropListOnMonitor(reinterpret_cast<HWND>(l));
        return Default();
    });
    OnReflectedCommand(CBN_DROPDOWN, [this] { SetDropWidth(); });
    OnMessage(WM_GETOBJECT, [this](WPARAM w, LPARAM l) -> LRESULT {
        const LRESULT answer = accessibleName.empty() ? 0 : AnswerGetObject(Hwnd(), w, l);
        return answer ? answer : Default();
    });
}

AccessibleDescription CZYLComboBox::DescribeForAccessibility() const
{
    AccessibleDescription d;
    d.name = accessibleName;
    d.role = ROLE_SYSTEM_COMBOBOX;
    d.state = CommonAccessibleState(Hwnd(), true) | STATE_SYSTEM_HASPOPUP;
    if (SendMessageW(Hwnd(), CB_GETDROPPEDSTATE, 0, 0))
        d.state |= STATE_SYSTEM_EXPANDED;
    else
        d.state |= STATE_SYSTEM_COLLAPSED;
    d.defaultAction = SendMessageW(Hwnd(), CB_GETDROPPEDSTATE, 0, 0) ? L"Close" : L"Open";
    return d;
}

void CZYLComboBox::DoAccessibleDefaultAction()
{
    const BOOL dropped = static_cast<BOOL>(SendMessageW(Hwnd(), CB_GETDROPPEDSTATE, 0, 0));
    SendMessageW(Hwnd(), CB_SHOWDROPDOWN, !dropped, 0);
}

void CZYLComboBox::OnAttached()
{
    COMBOBOXINFO parts = {};
    parts.cbSize = sizeof(parts);
    if (GetComboBoxInfo(Hwnd(), &parts)) {
        if (parts.hwndItem && parts.hwndItem != Hwnd() && edit_.AttachToWindow(parts.hwndItem))
            ShowWindow(parts.hwndItem, SW_HIDE);
        if (parts.hwndList && list_.AttachToWindow(parts.hwndList))
            list_.SetOwner(Hwnd(), &itemData_);
    }
    if (auto image = LoadPngResource(ScreenImageVariantId(IDB_COMBO_ARROW)); image && image->Bitmap()) {
        arrow_ = image->Bitmap();
        arrowWidth_ = image->width;
        arrowHeight_ = image->height;
    }
    OnSize();
}

HFONT CZYLComboBox::FieldFont() const
{
    return font ? font : BodyFont();
}

bool CZYLComboBox::SelectionOnly() const
{
    return edit_.Hwnd() && (GetWindowLongW(edit_.Hwnd(), GWL_STYLE) & ES_READONLY);
}

void CZYLComboBox::Redraw(const RECT* area)
{
    RedrawWindow(Hwnd(), area, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void CZYLComboBox::OnSize()
{
    if (!edit_.Hwnd() || !arrow_)
        return;
    const ImageFrame frame = ImageFrameAt(arrowWidth_, arrowHeight_, arrowFrameCount_, arrowFramesHorizontal_, 0);
    RECT client;
    GetClientRect(Hwnd(), &client);
    button_ = ComboButtonRect(client, frame.width, ScaleX(4));
    if (list_.Hwnd()) {
        RECT list;
        GetWindowRect(list_.Hwnd(), &list);
        const int width = static_cast<int>(SendMessageW(Hwnd(), CB_GETDROPPEDWIDTH, 0, 0));
        SetWindowPos(list_.Hwnd(), nullptr, list.left, list.top, width, DropListHeight(),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void CZYLComboBox::PaintCombo()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(Hwnd(), &paint);
    RECT client;
    GetClientRect(Hwnd(), &client);
    OffscreenBitmap buffer(dc, client.right, client.bottom);
    if (buffer) {
        DrawField(buffer.DC(), client);
        buffer.CopyTo(dc);
    }
    EndPaint(Hwnd(), &paint);
}

void CZYLComboBox::DrawField(HDC dc, const RECT& client)
{
    const int height = client.bottom - client.top;
    FillSolidRect(dc, client, backgroundColor);

    const ImageFrame arrow = ImageFrameAt(arrowWidth_, arrowHeight_, arrowFrameCount_, arrowFramesHorizontal_,
                                          hover ? 1 : 2);
    const int buttonWidth = std::max(arrow.width, StepScaleX(24));
    FillSolidRect(dc, RECT{client.right - buttonWidth, client.top, client.right, client.bottom}, buttonColor);
    if (arrow_) {
        UniqueMemoryDC source(CreateCompatibleDC(dc));
        SelectedObject selected(source.Get(), arrow_);
        AlphaBlend(dc, client.right - arrow.width - StepScaleX(5), (height - arrow.height) / 2, arrow.width,
                   arrow.height, source.Get(), arrow.x, arrow.y, arrow.width, arrow.height, blend);
    }

    if (SelectionOnly()) {
        const int selectedIndex = static_cast<int>(SendMessageW(Hwnd(), CB_GETCURSEL, 0, 0));
        const std::wstring text = selectedIndex == CB_ERR ? cueText : ItemText(Hwnd(), selectedIndex);
        if (!text.empty()) {
            SelectedObject selectedFont(dc, FieldFont());
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, selectedIndex == CB_ERR ? cueTextColor : textColor);
            SIZE extent = {};
            GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
            int left = client.left + ScaleX(4);
            if (HICON icon = selectedIndex == CB_ERR ? nullptr : itemData_.Icon(selectedIndex)) {
                const int size = GetSystemMetrics(SM_CXSMICON);
                DrawIconEx(dc, client.left + ScaleX(4), (height - size) / 2, icon, size, size, 0, nullptr, DI_NORMAL);
            }
            if (itemData_.HasIcons())
                left = client.left + ScaleX(24);
            const int top = (height - extent.cy) / 2;
            RECT textRect = {left, top, client.right + ScaleX(1) - arrow.width - 2 * ScaleX(4), top + extent.cy};
            DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
                      DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        }
    }

    UniqueBrush border(CreateSolidBrush(hover ? hoverBorderColor : borderColor));
    FrameRect(dc, &client, border.Get());
}

bool CZYLComboBox::InButtonArea(POINT point) const
{
    RECT client;
    GetClientRect(Hwnd(), &client);
    const LONG type = GetWindowLongW(Hwnd(), GWL_STYLE) & 3;
    if (type == CBS_DROPDOWNLIST || type == CBS_SIMPLE)
        return PtInRect(&client, point) != 0;
    return point.y >= 1 && point.y < client.bottom - 1 && point.x >= button_.left && point.x < button_.right;
}

void CZYLComboBox::OnLeftButtonDown(POINT point)
{
    SetFocus(Hwnd());
    const bool selectionOnly = SelectionOnly();
    if (selectionOnly || InButtonArea(point)) {
        const BOOL dropped = static_cast<BOOL>(SendMessageW(Hwnd(), CB_GETDROPPEDSTATE, 0, 0));
        SendMessageW(Hwnd(), CB_SHOWDROPDOWN, !dropped, 0);
    }
    if (selectionOnly && edit_.Hwnd()) {
        // The edit child refuses selection requests while read-only; its
        // class's own procedure clears the selection.
        auto editProcedure = reinterpret_cast<WNDPROC>(GetClassLongPtrW(edit_.Hwnd(), GCLP_WNDPROC));
        CallWindowProcW(editProcedure, edit_.Hwnd(), EM_SETSEL, static_cast<WPARAM>(-1), 0);
    }
    Redraw(&button_);
}

void CZYLComboBox::OnMouseMove(POINT point)
{
    if (!tracking) {
        TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, Hwnd(), 0};
        TrackMouseEvent(&track);
        tracking = 1;
        hover = 1;
        PostMessageW(GetParent(Hwnd()), kComboPointerEntered, reinterpret_cast<WPARAM>(this), 0);
        Redraw();
    }
    const int inButton = InButtonArea(point) ? 1 : 0;
    if (inButton != buttonHover) {
        buttonHover = inButton;
        Redraw(&button_);
    }
}

void CZYLComboBox::OnMouseLeave()
{
    tracking = 0;
    if (!SendMessageW(Hwnd(), CB_GETDROPPEDSTATE, 0, 0)) {
        POINT cursor;
        RECT window;
        GetCursorPos(&cursor);
        GetWindowRect(Hwnd(), &window);
        if (!PtInRect(&window, cursor))
            hover = 0;
        buttonHover = 0;
        Redraw();
    }
    PostMessageW(GetParent(Hwnd()), kComboPointerLeft, 0, 0);
}

void CZYLComboBox::SetDropWidth()
{
    WindowDC dc(Hwnd());
    if (!dc)
        return;
    SelectedObject selectedFont(dc.Get(), FieldFont());
    const int count = static_cast<int>(SendMessageW(Hwnd(), CB_GETCOUNT, 0, 0));
    std::vector<int> widths;
    for (int i = 0; i < count; ++i) {
        const std::wstring text = ItemText(Hwnd(), i);
        SIZE extent = {};
        GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &extent);
        widths.push_back(extent.cx);
    }
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc.Get(), &metrics);
    DropWidthMetrics m;
    m.scrollBarWidth = GetSystemMetrics(SM_CXVSCROLL);
    m.edgeWidth = ScaleX(GetSystemMetrics(SM_CXEDGE));
    m.averageCharWidth = ScaleX(metrics.tmAveCharWidth);
    m.smallIconWidth = GetSystemMetrics(SM_CXSMICON);
    RECT window;
    GetWindowRect(Hwnd(), &window);
    SendMessageW(Hwnd(), CB_SETDROPPEDWIDTH,
                 ComboDropWidth(widths, m, itemData_.HasIcons(), window.right - window.left), 0);
}

void CZYLComboBox::KeepDropListOnMonitor(HWND list)
{
    if (!list)
        return;
    if (!list_.Hwnd() && list_.AttachToWindow(list))
        list_.SetOwner(Hwnd(), &itemData_);
    RECT combo, dropList;
    GetWindowRect(Hwnd(), &combo);
    GetWindowRect(list, &dropList);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    if (!GetMonitorInfoW(MonitorFromWindow(Hwnd(), MONITOR_DEFAULTTONEAREST), &monitor))
        return;
    const int width = dropList.right - dropList.left;
    const int left = KeepListOnMonitor(combo.left, dropList.left, width, monitor.rcMonitor.right);
    if (left != dropList.left)
        SetWindowPos(list, nullptr, left, dropList.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
