// A bitmap of one or more state frames side by side (or stacked), as the
// controls keep it: the bitmap is borrowed from the image cache, which
// keeps it alive for the whole process.
#pragma once

#include <windows.h>

struct GlyphStrip {
    HBITMAP bitmap = nullptr;
    int width = 0;
    int height = 0;
    int frameCount = 0;  // 0: no image
    int framesHorizontal = 1;

    bool Empty() const { return !bitmap || frameCount <= 0; }
    // With framesHorizontal a frame is width / frameCount wide and full
    // height; otherwise full width and height / frameCount high.
    SIZE FrameSize() const
    {
        if (frameCount <= 0)
            return {0, 0};
        return framesHorizontal ? SIZE{width / frameCount, height} : SIZE{width, height / frameCount};
    }
    // Where frame k starts in the bitmap.
    POINT FrameOrigin(int k) const
    {
        const SIZE frame = FrameSize();
        return framesHorizontal ? POINT{k * frame.cx, 0} : POINT{0, k * frame.cy};
    }
};

// Alpha-blends frame `k` of `strip` (premultiplied alpha) into `target` at
// `destination` (scaled to its size) with the given constant alpha.
void BlendGlyphFrame(HDC target, const RECT& destination, const GlyphStrip& strip, int k, BYTE alpha = 255);
