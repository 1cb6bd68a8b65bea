// CControl: a control of a dialog template bound to an object of ours by
// its identifier, as the framework's controls are (a window subclass).
#pragma once

#include <windows.h>

#include "ui/window.h"

class CControl : public CWindow {
public:
    // Binds the control `id` of `parent`; false when there is no such
    // control or it is already bound.
    bool AttachToItem(HWND parent, int id);
    // Binds a control window made in code.
    bool AttachToWindow(HWND control);
    // Makes a child window of `windowClass` (registered by the caller) as
    // control `id` of `parent`, with `style` (WS_CHILD added), and binds
    // it; false (nothing left behind) when either step fails.
    bool CreateChild(HWND parent, int id, const wchar_t* windowClass, DWORD style);
    // Registers a plain window class for controls of ours made in code (the
    // framework's subclass does the work; an arrow cursor); true when it is
    // registered, by this call or an earlier one.
    static bool RegisterPlainClass(const wchar_t* windowClass);

    int ControlId() const { return GetDlgCtrlID(Hwnd()); }
    HWND Parent() const { return GetParent(Hwnd()); }

protected:
    // Called once the control is bound (styles a class of ours needs).
    virtual void OnAttached() {}
};
