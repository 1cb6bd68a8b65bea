#include "ui/image_pixels.h"

void PremultiplyAlpha(std::uint8_t* pixels, int width, int height, std::ptrdiff_t stride)
{
    for (int y = 0; y < height; ++y) {
        std::uint8_t* p = pixels + y * stride;
        for (int x = 0; x < width; ++x, p += 4) {
            const unsigned a = p[3];
            p[0] = static_cast<std::uint8_t>(p[0] * a / 255);
            p[1] = static_cast<std::uint8_t>(p[1] * a / 255);
            p[2] = static_cast<std::uint8_t>(p[2] * a / 255);
        }
    }
}

ImageFrame ImageFrameAt(int width, int height, int frameCount, int framesHorizontal, int k)
{
    const int count = frameCount < 1 ? 1 : frameCount;
    if (framesHorizontal) {
        const int w = width / count;
        return {k * w, 0, w, height};
    }
    const int h = height / count;
    return {0, k * h, width, h};
}
