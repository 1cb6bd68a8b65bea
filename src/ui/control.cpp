#include "ui/control.h"

bool CControl::AttachToItem(HWND parent, int id)
{
    return AttachToWindow(GetDlgItem(parent, id));
}

bool CControl::AttachToWindow(HWND control)
{
    if (!Attach(control))
        return false;
    OnAttached();
    return true;
}
