// The Direct2D and DirectWrite objects the text button and the progress
// bar draw with. Each control owns its own objects; these functions make
// them the same way everywhere and report a failure to the debugger.
#pragma once

#include <windows.h>

#include <d2d1_1.h>
#include <dwrite.h>

#include "base/unique_handle.h"

// A multi-threaded ID2D1Factory1 without debug layer. Failure: "Failed to
// cread Direct2D Factory" to the debugger.
bool CreateDirect2DFactory(UniqueComPtr<ID2D1Factory1>& factory);
// A DC render target: B8G8R8A8, alpha ignored, the system's DPI. Failure:
// "Failed to cread Direct2D Render Target".
bool CreateDCRenderTarget(ID2D1Factory1* factory, UniqueComPtr<ID2D1DCRenderTarget>& target);
// The shared DirectWrite factory. Failure: "Failed to cread Direct2D Write
// Factory".
bool CreateDirectWriteFactory(UniqueComPtr<IDWriteFactory>& factory);
// The text button's format: "Tahoma", regular, size truncate(dpiY * 14 /
// 96), whole-word wrapping.
bool CreateButtonTextFormat(IDWriteFactory* factory, int dpiY, UniqueComPtr<IDWriteTextFormat>& format);

// A palette value as a Direct2D colour (alpha 1).
D2D1_COLOR_F ToD2DColor(COLORREF colour);
