// CZYLStatic: an owner-drawn label with its own font, colours, alignment
// and an optional link behaviour (hand cursor, focus rectangle, reachable
// with Tab and pressed with Enter or Space like a click).
#pragma once

#include <windows.h>

#include <string>

#include "ui/accessible.h"
#include "ui/control.h"

class CZYLStatic : public CControl, public IAccessibleSource {
public:
    CZYLStatic();

    std::wstring text;
    HFONT font = nullptr;  // shared, never deleted here; none: Arial ScaleX(14)
    COLORREF textColor = 0;
    COLORREF backgroundColor = 0;
    UINT format = 0;  // DrawTextW flags
    int isLink = 0;
    int focused = 0;

    // Replaces the text; the owner sets the window text too (SetLabel
    // below does both) and repaints.
    void SetText(const std::wstring& label) { text = label; }
    void SetLabel(const std::wstring& label);
    // Makes the label a link: isLink, reachable with Tab, clicked with
    // Enter or Space (STN_CLICKED to the parent, as a click sends it).
    void MakeLink();

    AccessibleDescription DescribeForAccessibility() const override;
    void DoAccessibleDefaultAction() override;

protected:
    void OnAttached() override;

private:
    void Draw(const DRAWITEMSTRUCT& item);
};
