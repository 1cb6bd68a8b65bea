#include "image_test_support.h"

// GDI+ needs the COM declarations that WIN32_LEAN_AND_MEAN leaves out.
#include <objidl.h>
#include <gdiplus.h>

namespace image_testing {

std::vector<Bgra> ReadPixels(HBITMAP bitmap, int* width, int* height)
{
    BITMAP info = {};
    if (!bitmap || GetObjectW(bitmap, sizeof(info), &info) != sizeof(info) || info.bmBitsPixel != 32)
        return {};
    const int w = info.bmWidth;
    const int h = info.bmHeight;
    // Asked for top-down rows, whatever the order the bitmap keeps them in.
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof(format.bmiHeader);
    format.bmiHeader.biWidth = w;
    format.bmiHeader.biHeight = -h;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    std::vector<Bgra> pixels(static_cast<size_t>(w) * h);
    HDC screen = GetDC(nullptr);
    const int rows = GetDIBits(screen, bitmap, 0, h, pixels.data(), &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (rows != h)
        return {};
    if (width)
        *width = w;
    if (height)
        *height = h;
    return pixels;
}

bool WriteSolidPicture(const std::wstring& path, int width, int height, COLORREF colour, bool jpeg)
{
    using namespace Gdiplus;
    using namespace Gdiplus::DllExports;
    // The built-in encoders of GDI+.
    static const CLSID jpegEncoder = {0x557CF401, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
    static const CLSID pngEncoder = {0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};

    ULONG_PTR token = 0;
    GdiplusStartupInput input;
    if (GdiplusStartup(&token, &input, nullptr) != Ok)
        return false;
    std::vector<std::uint32_t> pixels(static_cast<size_t>(width) * height,
                                      0xFF000000u | (GetRValue(colour) << 16) |
                                          (GetGValue(colour) << 8) | GetBValue(colour));
    GpBitmap* bitmap = nullptr;
    bool written = false;
    if (GdipCreateBitmapFromScan0(width, height, width * 4, PixelFormat32bppARGB,
                                  reinterpret_cast<BYTE*>(pixels.data()), &bitmap) == Ok) {
        written = GdipSaveImageToFile(bitmap, path.c_str(), jpeg ? &jpegEncoder : &pngEncoder,
                                      nullptr) == Ok;
        GdipDisposeImage(bitmap);
    }
    GdiplusShutdown(token);
    return written;
}

}  // namespace image_testing
