// An image ready for drawing: a 32-bit DIB section and its size, with the
// frame layout a control gives it when it draws one state of a strip.
#pragma once

#include <windows.h>

#include "base/unique_handle.h"

struct CImageWrapper {
    CImageWrapper() = default;
    CImageWrapper(HBITMAP handle, int w, int h) : bitmap(handle), width(w), height(h) {}

    // The bitmap as the drawing calls take it; null when nothing was decoded.
    HBITMAP Bitmap() const { return bitmap.Get(); }

    UniqueBitmap bitmap;   // owned: the wrapper deletes it
    int width = 0;
    int height = 0;
    int frameCount = 1;
    int framesHorizontal = 1;
};
