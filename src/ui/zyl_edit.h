// CZYLEdit: a single-line edit field of a dialog template drawn dark, with
// its own one-pixel border, a vertically centred text line and keyboard
// shortcuts of its own (Ctrl+A, Ctrl+C, Ctrl+X, Ctrl+V).
//
// The first click into the field selects its whole text; later clicks
// place the caret. A right click selects all (or puts the caret at the end
// once the field is active) and shows no context menu.
#pragma once

#include <windows.h>

#include <string>

#include "ui/accessible.h"
#include "ui/control.h"

class CZYLEdit : public CControl, public IAccessibleSource {
public:
    CZYLEdit();

    COLORREF borderColor = RGB(73, 90, 105);        // border at rest
    COLORREF focusBorderColor = RGB(54, 138, 211);  // border while active
    COLORREF backgroundColor = RGB(20, 26, 32);
    COLORREF textColor = RGB(255, 255, 255);
    // Returned to the system for the text area; made and owned by the owner.
    HBRUSH backgroundBrush = nullptr;
    int active = 0;         // set by a click, cleared when the focus leaves
    int inputMode = 0;      // 2: free text (no character filtering)
    int pasteAllowed = 1;   // whether Ctrl+V pastes
    // What a screen reader calls the field; while empty the system's own
    // answer (from the label before it) stands.
    std::wstring accessibleName;

    AccessibleDescription DescribeForAccessibility() const override;
    void DoAccessibleDefaultAction() override {}

    bool PreTranslateMessage(MSG& message) override;

protected:
    void OnAttached() override;

private:
    bool Writable() const;
    void SelectAll();
    void CaretToEnd();
    void RedrawFrame();
    LRESULT OnNcCalcSize(WPARAM wParam, LPARAM lParam);
    void PaintBorder();
    LRESULT OnControlColor(HDC dc);
    void OnRightButtonDown();
};
