// Helpers for the image tests: reading a DIB section's pixels and writing
// picture files at test time with GDI+'s encoders.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace image_testing {

struct Bgra {
    std::uint8_t b, g, r, a;
};

// The pixels of a 32-bit DIB section, top row first (empty when `bitmap`
// is not one).
std::vector<Bgra> ReadPixels(HBITMAP bitmap, int* width = nullptr, int* height = nullptr);

// Writes a width x height picture of one colour to `path`, as JPEG or PNG.
bool WriteSolidPicture(const std::wstring& path, int width, int height, COLORREF colour,
                       bool jpeg);

}  // namespace image_testing
