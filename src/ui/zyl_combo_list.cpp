#include "ui/zyl_combo_list.h"

#include <windowsx.h>

#include <string>

#include "base/unique_handle.h"
#include "ui/dpi.h"
#include "ui/offscreen.h"
#include "ui/theme.h"
#include "ui/zyl_combo_messages.h"

CZYLComboBox_ListBox::CZYLComboBox_ListBox()
{
    OnMessage(WM_NCPAINT, [this](WPARAM, LPARAM) {
        const LRESULT result = Default();   // the scroll bar
        PaintBorder();
        return result;
    });
    OnMessage(WM_SHOWWINDOW, [this](WPARAM shown, LPARAM) {
        const LRESULT result = Default();
        if (!shown && combo_)
            SendMessageW(combo_, kComboListHidden, 0, 0);
        return result;
    });
    // The combo may hide its list by moving it hidden, without
    // WM_SHOWWINDOW; the combo hears of that too (clearing twice is harmless).
    OnMessage(WM_WINDOWPOSCHANGED, [this](WPARAM, LPARAM l) {
        const LRESULT result = Default();
        if ((reinterpret_cast<const WINDOWPOS*>(l)->flags & SWP_HIDEWINDOW) && combo_)
            SendMessageW(combo_, kComboListHidden, 0, 0);
        return result;
    });
    OnMessage(WM_RBUTTONUP, [this](WPARAM, LPARAM l) {
        if (combo_)
            PostMessageW(combo_, kComboListRightUp, static_cast<WPARAM>(ItemAt({GET_X_LPARAM(l), GET_Y_LPARAM(l)})), l);
        return Default();
    });
}

void CZYLComboBox_ListBox::SetOwner(HWND combo, const CComboboxDataManager* itemData)
{
    combo_ = combo;
    itemData_ = itemData;
}

void CZYLComboBox_ListBox::OnAttached()
{
    SetWindowLongW(Hwnd(), GWL_STYLE, GetWindowLongW(Hwnd(), GWL_STYLE) | LBS_OWNERDRAWFIXED);
}

int CZYLComboBox_ListBox::ItemAt(POINT point) const
{
    const int count = static_cast<int>(SendMessageW(Hwnd(), LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        RECT item;
        if (SendMessageW(Hwnd(), LB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item)) != LB_ERR &&
            PtInRect(&item, point))
            return i;
    }
    return -1;
}

void CZYLComboBox_ListBox::PaintBorder()
{
    WindowDC dc(Hwnd(), WindowDC::Area::Window);
    if (!dc)
        return;
    RECT window;
    GetWindowRect(Hwnd(), &window);
    RECT client;
    GetClientRect(Hwnd(), &client);
    MapWindowPoints(Hwnd(), nullptr, reinterpret_cast<POINT*>(&client), 2);
    OffsetRect(&client, -window.left, -window.top);
    // Everything but the client area and the vertical scroll bar beside it.
    ExcludeClipRect(dc.Get(), client.left, client.top, client.right, client.bottom);
    if (GetWindowLongW(Hwnd(), GWL_STYLE) & WS_VSCROLL)
        ExcludeClipRect(dc.Get(), client.right, client.top, client.right + GetSystemMetrics(SM_CXVSCROLL),
                        client.bottom);
    FillSolidRect(dc.Get(), RECT{0, 0, window.right - window.left, window.bottom - window.top}, borderColor);
}

void CZYLComboBox_ListBox::DrawItem(const DRAWITEMSTRUCT& item) const
{
    if (static_cast<int>(item.itemID) < 0)
        return;
    const int width = item.rcItem.right - item.rcItem.left;
    const int height = item.rcItem.bottom - item.rcItem.top;
    OffscreenBitmap buffer(item.hDC, width, height);
    if (!buffer)
        return;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    FillSolidRect(buffer.DC(), RECT{0, 0, width, height},
                  selected ? selectedBackgroundColor : backgroundColor);

    HICON icon = itemData_ ? itemData_->Icon(static_cast<int>(item.itemID)) : nullptr;
    if (icon) {
        const int size = GetSystemMetrics(SM_CXSMICON);
        DrawIconEx(buffer.DC(), ScaleX(4), (height - size) / 2, icon, size, size, 0, nullptr, DI_NORMAL);
    }
    const HWND source = combo_ ? combo_ : Hwnd();
    const UINT lengthMessage = combo_ ? CB_GETLBTEXTLEN : LB_GETTEXTLEN;
    const UINT textMessage = combo_ ? CB_GETLBTEXT : LB_GETTEXT;
    const LRESULT length = SendMessageW(source, lengthMessage, item.itemID, 0);
    if (length > 0) {
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        SendMessageW(source, textMessage, item.itemID, reinterpret_cast<LPARAM>(text.data()));
        text.resize(wcslen(text.c_str()));
        SelectedObject selectedFont(buffer.DC(), font ? font : BodyFont());
        SetBkMode(buffer.DC(), TRANSPARENT);
        SetTextColor(buffer.DC(), selected ? selectedTextColor : textColor);
        RECT textRect = {icon ? ScaleX(24) : ScaleX(4), 1, width - 8, height - 2};
        DrawTextW(buffer.DC(), text.c_str(), static_cast<int>(text.size()), &textRect,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
    buffer.CopyTo(item.hDC, item.rcItem.left, item.rcItem.top);
}
