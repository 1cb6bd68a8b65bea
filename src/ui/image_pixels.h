// Pixel work on decoded images, on plain memory: premultiplying alpha, and
// where one frame of a strip of state frames lies.
#pragma once

#include <cstddef>
#include <cstdint>

// Premultiplies 32-bit BGRA pixels in place: blue, green and red each become
// c * a / 255 (integer, truncating); alpha stays. `stride` is the distance
// between rows in bytes.
void PremultiplyAlpha(std::uint8_t* pixels, int width, int height, std::ptrdiff_t stride);

struct ImageFrame {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// Frame k of an image of width x height holding frameCount frames, side by
// side when framesHorizontal is non-zero, else stacked. A frame count below
// 1 counts as 1.
ImageFrame ImageFrameAt(int width, int height, int frameCount, int framesHorizontal, int k);
