#include "ui/offscreen.h"

OffscreenBitmap::OffscreenBitmap(HDC target, int width, int height)
    : dc_(CreateCompatibleDC(target)), width_(width), height_(height)
{
    if (dc_ && width > 0 && height > 0)
        bitmap_.Reset(CreateCompatibleBitmap(target, width, height));
    if (bitmap_)
        previous_ = SelectObject(dc_.Get(), bitmap_.Get());
}

OffscreenBitmap::~OffscreenBitmap()
{
    if (previous_)
        SelectObject(dc_.Get(), previous_);
}

void OffscreenBitmap::CopyTo(HDC target, int x, int y) const
{
    if (*this)
        BitBlt(target, x, y, width_, height_, dc_.Get(), 0, 0, SRCCOPY);
}

void FillSolidRect(HDC dc, const RECT& rect, COLORREF colour)
{
    UniqueBrush brush(CreateSolidBrush(colour));
    FillRect(dc, &rect, brush.Get());
}
