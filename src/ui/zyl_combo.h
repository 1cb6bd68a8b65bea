// CZYLComboBox: a drop-down chooser of a dialog template drawn dark: it
// paints its own field, drop button (an arrow from image family 144) and
// border, and owner-draws its drop list. With its edit child read-only it
// is a selection-only chooser and draws the selected item's text itself.
//
// The parent reflects CBN_DROPDOWN to it (the drop list is made wide
// enough for the widest item); the drop list is kept on the combo's
// monitor.
#pragma once

#include <windows.h>

#include <string>

#include "ui/accessible.h"
#include "ui/control.h"
#include "ui/zyl_combo_data.h"
#include "ui/zyl_combo_edit.h"
#include "ui/zyl_combo_list.h"

class CZYLComboBox : public CControl, public IAccessibleSource {
public:
    CZYLComboBox();

    COLORREF backgroundColor = RGB(20, 26, 32);
    COLORREF buttonColor = RGB(20, 26, 32);
    COLORREF textColor = RGB(255, 255, 255);
    COLORREF cueTextColor = RGB(100, 100, 100);
    COLORREF borderColor = RGB(73, 90, 105);
    COLORREF hoverBorderColor = RGB(54, 138, 211);
    HFONT font = nullptr;          // field text; BodyFont unless set
    std::wstring cueText;          // shown when nothing is selected
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    int hover = 0;
    int buttonHover = 0;
    int tracking = 0;
    // What a screen reader calls the chooser; while empty the system's
    // own answer stands.
    std::wstring accessibleName;

    AccessibleDescription DescribeForAccessibility() const override;
    void DoAccessibleDefaultAction() override;

    CZYLComboBox_Edit& EditChild() { return edit_; }
    CZYLComboBox_ListBox& DropList() { return list_; }
    CComboboxDataManager& ItemData() { return itemData_; }
    const RECT& ButtonRect() const { return button_; }

protected:
    void OnAttached() override;

private:
    HFONT FieldFont() const;
    bool SelectionOnly() const;
    bool InButtonArea(POINT point) const;
    void Redraw(const RECT* area = nullptr);
    void OnSize();
    void PaintCombo();
    void DrawField(HDC dc, const RECT& client);
    void OnLeftButtonDown(POINT point);
    void OnMouseMove(POINT point);
    void OnMouseLeave();
    void SetDropWidth();
    void KeepDropListOnMonitor(HWND list);

    CZYLComboBox_Edit edit_;
    CZYLComboBox_ListBox list_;
    CComboboxDataManager itemData_;
    HBITMAP arrow_ = nullptr;      // kept alive by the image cache
    int arrowWidth_ = 0;           // the whole strip
    int arrowHeight_ = 0;
    int arrowFrameCount_ = 3;
    int arrowFramesHorizontal_ = 1;
    RECT button_ = {};
};
