// CZYLProgress: a thin rounded progress bar drawn with Direct2D, a centred
// track and a fill whose right end follows the position.
//
// The owner creates it as a child window, writes the fields below directly
// and invalidates it; it sends no notifications.
#pragma once

#include <windows.h>

#include <d2d1_1.h>

#include <string>

#include "base/unique_handle.h"
#include "ui/accessible.h"
#include "ui/control.h"

class CZYLProgress : public CControl, public IAccessibleSource {
public:
    CZYLProgress();

    // A child window of `parent` (WS_CHILD | WS_TABSTOP, not yet visible,
    // empty rectangle) with the control identifier `id`.
    bool Create(HWND parent, int id);

    COLORREF backgroundColor;   // fills the whole control
    COLORREF trackColor;        // the track
    COLORREF fillColor;         // the filled part
    int position = 0;
    int range = 100;            // position at which the bar is full
    RECT trackSize = {};        // only its width and height are used
    float cornerRadiusX;        // corner radii of track and fill
    float cornerRadiusY;
    // What a screen reader calls the bar (its role is a progress bar).
    std::wstring accessibleName;

    AccessibleDescription DescribeForAccessibility() const override;
    void DoAccessibleDefaultAction() override {}

private:
    void Paint();
    // Draws between BeginDraw and EndDraw of the bound render target.
    void DrawBar(const RECT& client);

    UniqueComPtr<ID2D1Factory1> factory_;
    UniqueComPtr<ID2D1DCRenderTarget> target_;
};
