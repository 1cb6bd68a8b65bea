// An off-screen bitmap that a control paints into and then copies to the
// screen in one operation, so that nothing flickers.
//
//   OffscreenBitmap buffer(targetDC, width, height);
//   FillRect(buffer.DC(), ...); ...
//   buffer.CopyTo(targetDC, x, y);
#pragma once

#include <windows.h>

#include "base/unique_handle.h"

class OffscreenBitmap {
public:
    // A bitmap of width x height compatible with `target`, selected into
    // a memory device context of its own.
    OffscreenBitmap(HDC target, int width, int height);
    ~OffscreenBitmap();
    OffscreenBitmap(const OffscreenBitmap&) = delete;
    OffscreenBitmap& operator=(const OffscreenBitmap&) = delete;

    // False when the context or the bitmap could not be made (then nothing
    // is drawn and CopyTo does nothing).
    explicit operator bool() const { return dc_ && bitmap_; }
    HDC DC() const { return dc_.Get(); }
    int Width() const { return width_; }
    int Height() const { return height_; }

    // Copies the whole bitmap to (x, y) of `target` (one BitBlt).
    void CopyTo(HDC target, int x = 0, int y = 0) const;

private:
    UniqueMemoryDC dc_;
    UniqueBitmap bitmap_;
    HGDIOBJ previous_ = nullptr;
    int width_;
    int height_;
};

// Fills `rect` of `dc` with one colour.
void FillSolidRect(HDC dc, const RECT& rect, COLORREF colour);
