// What the buttons of ours share: the pointer and keyboard rules of a
// push button and the click notification.
//
// Pointer: the left button down captures the mouse and presses the
// button (a double-click counts as a press), up releases it; a click is
// posted to the parent (WM_COMMAND, BN_CLICKED, the button's handle) only
// when the button is released inside after being pressed on it.
// Keyboard: Space presses while held and clicks on release, Enter clicks;
// the focused button shows a focus rectangle. A button that is not
// `enabled` ignores the pointer and the keys.
//
// The system's button procedure gets none of these messages: it would
// send a click notification of its own on release.
#pragma once

#include <windows.h>

#include <string>

#include "ui/accessible.h"
#include "ui/control.h"

class CZYLClickable : public CControl, public IAccessibleSource {
public:
    CZYLClickable();

    int enabled = 1;
    int hover = 0;
    int pressed = 0;
    int captured = 0;
    int tracking = 0;

    // The name a screen reader gives the button when it is not its text
    // (an image button: "Close", "Minimize", ...).
    void SetAccessibleName(const std::wstring& name) { accessibleName_ = name; }
    // The role a screen reader gives it (a push button unless said).
    void SetAccessibleRole(LONG role) { accessibleRole_ = role; }
    // For a button that shows a check box: whether it is checked.
    void SetAccessibleChecked(bool checked) { accessibleChecked_ = checked; }
    // Sets `enabled` and the window's own enabled state together, so that
    // Tab passes a disabled button by.
    void SetEnabled(bool on);

    AccessibleDescription DescribeForAccessibility() const override;
    void DoAccessibleDefaultAction() override { PostClick(); }

protected:
    // The caption a screen reader reads when no name is set.
    virtual std::wstring AccessibleText() const = 0;
    // Repaints at once.
    void Redraw();
    void PostClick();
    bool HasFocus() const { return GetFocus() == Hwnd(); }
    // Whether the focus rectangle is drawn: with the keyboard focus.
    virtual bool ShowsFocus() const { return HasFocus(); }
    // Held down by the pointer or by the Space key.
    bool HeldDown() const { return pressed || keyPressed_; }
    bool Inside(POINT point) const;
    // Called on the pointer's first move over the button and when it
    // leaves (the two kinds of button track differently).
    virtual LRESULT OnPointerMove(POINT point);
    virtual LRESULT OnPointerLeave();

private:
    LRESULT OnButtonDown();
    LRESULT OnButtonUp(LPARAM point);

    int keyPressed_ = 0;
    std::wstring accessibleName_;
    LONG accessibleRole_ = ROLE_SYSTEM_PUSHBUTTON;
    bool accessibleChecked_ = false;
};
