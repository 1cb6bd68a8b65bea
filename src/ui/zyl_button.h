// CZYLButton: an owner-drawn button that shows an image (a check box, a
// chevron) or a short text ("..."). It enters hover once the pointer
// rests on it for 1 ms and tells its parent with message 3024 (wParam:
// the button object), and 3025 when the pointer leaves.
#pragma once

#include <windows.h>

#include <string>

#include "ui/glyph_strip.h"
#include "ui/zyl_clickable.h"

constexpr UINT kButtonHoverMessage = 3024;
constexpr UINT kButtonLeaveMessage = 3025;

class CZYLButton : public CZYLClickable {
public:
    CZYLButton();

    COLORREF normalColor = 0;
    COLORREF hoverColor = 0;
    COLORREF pressedColor = 0;
    COLORREF borderColor = 0;
    std::wstring text;
    GlyphStrip image;  // drawn only with a frame count above 0

    // Sets the colours and the text and removes any image.
    void SetAppearance(COLORREF normal, COLORREF hoverFill, COLORREF pressedFill, COLORREF border,
                       const std::wstring& caption);
    // Sets the image strip; the bitmap stays the image cache's.
    void SetImage(HBITMAP bitmap, SIZE size, int frameCount, int framesHorizontal);

protected:
    void OnAttached() override;
    std::wstring AccessibleText() const override { return text; }
    LRESULT OnPointerMove(POINT point) override;
    LRESULT OnPointerLeave() override;

private:
    void Draw(const DRAWITEMSTRUCT& item);
};
