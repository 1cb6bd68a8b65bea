#include "ui/dpi.h"

#include <windows.h>

namespace {

struct ScreenDpi {
    int x = 0;
    int y = 0;
};

// Read once from the screen's device context. Without a screen context
// both stay 0, and every scaled size is 0.
const ScreenDpi& CachedScreenDpi()
{
    static const ScreenDpi dpi = [] {
        ScreenDpi read;
        if (HDC screen = GetDC(nullptr)) {
            read.x = GetDeviceCaps(screen, LOGPIXELSX);
            read.y = GetDeviceCaps(screen, LOGPIXELSY);
            ReleaseDC(nullptr, screen);
        }
        return read;
    }();
    return dpi;
}

}  // namespace

int SnapDpi(int dpiY)
{
    if (dpiY < 120)
        return dpiY;
    if (dpiY < 144)
        return 120;
    if (dpiY < 192)
        return 144;
    return 192;
}

int SnappedDpi()
{
    return SnapDpi(CachedScreenDpi().y);
}
