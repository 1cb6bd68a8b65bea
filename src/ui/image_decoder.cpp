#include "ui/image_decoder.h"

#include <gdiplus.h>

#include <mutex>

namespace {

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

std::mutex gdiplusLock;
ULONG_PTR gdiplusToken = 0;
int gdiplusUsers = 0;

bool StartGdiplus()
{
    std::lock_guard<std::mutex> hold(gdiplusLock);
    if (gdiplusToken)
        return true;
    GdiplusStartupInput input;
    return GdiplusStartup(&gdiplusToken, &input, nullptr) == Ok;
}

// A decoded GDI+ bitmap, disposed with the object.
class GdiplusBitmap {
public:
    ~GdiplusBitmap()
    {
        if (bitmap_)
            GdipDisposeImage(bitmap_);
    }
    GpBitmap** Put() { return &bitmap_; }
    GpBitmap* Get() const { return bitmap_; }

private:
    GpBitmap* bitmap_ = nullptr;
};

// Copies a GDI+ bitmap into a new top-down 32-bit DIB section, GDI+ writing
// the pixels (32-bit ARGB, which is BGRA in memory) straight into it.
CImageWrapper ToDibSection(GpBitmap* source)
{
    UINT width = 0;
    UINT height = 0;
    if (GdipGetImageWidth(source, &width) != Ok || GdipGetImageHeight(source, &height) != Ok ||
        width == 0 || height == 0)
        return {};

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = static_cast<LONG>(width);
    info.bmiHeader.biHeight = -static_cast<LONG>(height);
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!dib)
        return {};
    CImageWrapper image(dib, static_cast<int>(width), static_cast<int>(height));

    GpRect all(0, 0, static_cast<INT>(width), static_cast<INT>(height));
    BitmapData data = {};
    data.Width = width;
    data.Height = height;
    data.Stride = static_cast<INT>(width * 4);
    data.PixelFormat = PixelFormat32bppARGB;
    data.Scan0 = bits;
    if (GdipBitmapLockBits(source, &all, ImageLockModeRead | ImageLockModeUserInputBuf,
                           PixelFormat32bppARGB, &data) != Ok)
        return {};
    GdipBitmapUnlockBits(source, &data);
    return image;
}

}  // namespace

CImageWrapper DecodeImageStream(IStream* stream)
{
    if (!stream || !StartGdiplus())
        return {};
    GdiplusBitmap decoded;
    if (GdipCreateBitmapFromStream(stream, decoded.Put()) != Ok)
        return {};
    return ToDibSection(decoded.Get());
}

CImageWrapper DecodeImageFile(const std::wstring& path)
{
    if (!StartGdiplus())
        return {};
    GdiplusBitmap decoded;
    if (GdipCreateBitmapFromFile(path.c_str(), decoded.Put()) != Ok)
        return {};
    return ToDibSection(decoded.Get());
}

GdiplusFileUse::GdiplusFileUse()
{
    std::lock_guard<std::mutex> hold(gdiplusLock);
    ++gdiplusUsers;
}

GdiplusFileUse::~GdiplusFileUse()
{
    std::lock_guard<std::mutex> hold(gdiplusLock);
    if (--gdiplusUsers == 0 && gdiplusToken) {
        GdiplusShutdown(gdiplusToken);
        gdiplusToken = 0;
    }
}

bool GdiplusRunning()
{
    std::lock_guard<std::mutex> hold(gdiplusLock);
    return gdiplusToken != 0;
}
