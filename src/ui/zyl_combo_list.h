// CZYLComboBox_ListBox: the system combo's drop list, owner-drawn in the
// dark theme, with a border of its own colour. It tells the combo when it
// is hidden and when an item is right-clicked.
#pragma once

#include <windows.h>

#include "ui/control.h"
#include "ui/zyl_combo_data.h"

class CZYLComboBox_ListBox : public CControl {
public:
    CZYLComboBox_ListBox();

    // The combo that owns the list, and its item icons.
    void SetOwner(HWND combo, const CComboboxDataManager* itemData);
    // Draws one item (WM_DRAWITEM of the combo, for a list item).
    void DrawItem(const DRAWITEMSTRUCT& item) const;

    HFONT font = nullptr;                         // item text; BodyFont unless set
    COLORREF borderColor = RGB(54, 138, 211);
    COLORREF textColor = RGB(206, 216, 223);
    COLORREF selectedTextColor = RGB(206, 216, 223);
    COLORREF backgroundColor = RGB(20, 26, 32);
    COLORREF selectedBackgroundColor = RGB(51, 60, 67);

protected:
    void OnAttached() override;

private:
    void PaintBorder();
    int ItemAt(POINT point) const;

    HWND combo_ = nullptr;
    const CComboboxDataManager* itemData_ = nullptr;
};
