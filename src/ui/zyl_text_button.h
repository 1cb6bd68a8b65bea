// CZYLTextButton: the large rounded accent-coloured button ("Install",
// "Start Now"), drawn with Direct2D and DirectWrite. It enters hover on
// the pointer's first movement and leaves it with the pointer; while
// `enabled` is 0 it shows the disabled colours and takes no input.
#pragma once

#include <windows.h>

#include <string>

#include "base/unique_handle.h"
#include "ui/direct2d.h"
#include "ui/zyl_clickable.h"

class CZYLTextButton : public CZYLClickable {
public:
    CZYLTextButton();

    enum State { kNormal = 0, kHover = 1, kPressed = 2, kDisabled = 3 };

    std::wstring text;
    COLORREF backgroundColor;
    COLORREF fillColors[4];  // normal, hover, pressed, disabled
    COLORREF textColors[4];
    float cornerRadiusX;
    float cornerRadiusY;

    // Replaces the caption (also the window text); the owner repaints.
    void SetText(const std::wstring& caption);
    // The state the button shows now: disabled, else hover (also while
    // held with the pointer inside), else pressed, else normal.
    State CurrentState() const;

protected:
    void OnAttached() override;
    std::wstring AccessibleText() const override { return text; }
    LRESULT OnPointerMove(POINT point) override;

private:
    void Paint(HDC dc, const RECT& client);
    bool MakeDeviceObjects();
    void ReleaseDeviceObjects();

    UniqueComPtr<ID2D1Factory1> factory_;
    UniqueComPtr<ID2D1DCRenderTarget> target_;
    UniqueComPtr<IDWriteFactory> writeFactory_;
    UniqueComPtr<IDWriteTextFormat> textFormat_;
};
