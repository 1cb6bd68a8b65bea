// CZYLComboBox_Edit: the system combo's edit child. The installer keeps it
// hidden (its combos choose from a list only); while it is read-only it
// hands clicks to the combo and never takes a selection or the focus.
#pragma once

#include <windows.h>

#include "ui/control.h"

class CZYLComboBox_Edit : public CControl {
public:
    CZYLComboBox_Edit();

private:
    bool ReadOnly() const;
    HWND Combo() const { return GetParent(Hwnd()); }

    bool tracking_ = false;
};
