// Screen-reader access for the controls of ours.
//
// A control that paints itself gives no name or role a screen reader can
// use, so each control of ours answers WM_GETOBJECT (OBJID_CLIENT) with an
// accessible object of its own. That object asks the control for its name,
// role, state and default action, and leaves everything else (location,
// navigation, focus, hit testing) to the system's standard object for the
// window (CreateStdAccessibleObject). It holds only the window handle, so
// a screen reader that keeps it longer than the control lives gets the
// standard answers and no crash.
#pragma once

#include <windows.h>

#include <oleacc.h>

#include <string>

struct AccessibleDescription {
    std::wstring name;
    LONG role = ROLE_SYSTEM_CLIENT;   // ROLE_SYSTEM_PUSHBUTTON, _LINK, ...
    LONG state = 0;                   // STATE_SYSTEM_* flags
    std::wstring defaultAction;       // "Press", "Jump", ... empty: none
};

// What a control of ours tells a screen reader.
class IAccessibleSource {
public:
    virtual ~IAccessibleSource() = default;
    virtual AccessibleDescription DescribeForAccessibility() const = 0;
    // The default action (a click); only called when defaultAction is set.
    virtual void DoAccessibleDefaultAction() = 0;
};

// The answer to WM_GETOBJECT for `window`, whose bound object is an
// IAccessibleSource; 0 (the system's default) for other object ids.
LRESULT AnswerGetObject(HWND window, WPARAM wParam, LPARAM lParam);

// The state flags every control of ours shares: focusable, focused,
// unavailable.
LONG CommonAccessibleState(HWND window, bool enabled);
