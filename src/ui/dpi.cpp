#include "ui/dpi.h"

namespace {

struct DpiCache {
    ScreenDpi dpi;
    bool read = false;
};
DpiCache cache;

}  // namespace

const ScreenDpi& CachedScreenDpi()
{
    if (!cache.read) {
        if (HDC screen = GetDC(nullptr)) {
            cache.dpi.x = GetDeviceCaps(screen, LOGPIXELSX);
            cache.dpi.y = GetDeviceCaps(screen, LOGPIXELSY);
            ReleaseDC(nullptr, screen);
        }
        cache.read = true;
    }
    return cache.dpi;
}

double DpiStepFactor(int dpi)
{
    const double ratio = dpi / 96.0;
    if (ratio < 1.25)
        return 1.0;
    if (ratio < 1.5)
        return 1.25;
    if (ratio < 2.0)
        return 1.5;
    return 2.0;
}

int ScaleAt(int dpi, int n)
{
    return static_cast<int>(static_cast<float>(dpi) * n / 96.0);
}

int StepScaleAt(int dpi, int n)
{
    return static_cast<int>(DpiStepFactor(dpi) * n);
}

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

int ScaleX(int n)
{
    return ScaleAt(CachedScreenDpi().x, n);
}

int StepScaleX(int n)
{
    return StepScaleAt(CachedScreenDpi().x, n);
}

int StepScaleY(int n)
{
    return StepScaleAt(CachedScreenDpi().y, n);
}

int SnappedDpi()
{
    return SnapDpi(CachedScreenDpi().y);
}

DesignSizes DesignSizesAt(int dpiX, int dpiY)
{
    DesignSizes sizes;
    sizes.panelSize = {StepScaleAt(dpiX, 660), StepScaleAt(dpiY, 446)};
    sizes.collapsedSettingsReduction = StepScaleAt(dpiY, 86);
    sizes.slideshowHeight = StepScaleAt(dpiY, 284);
    sizes.textButtonRadiusX = ScaleAt(dpiX, 4);
    sizes.textButtonRadiusY = static_cast<int>(static_cast<float>(dpiY) * 4.0 / 96.0);
    sizes.progressRadiusX = static_cast<float>(static_cast<float>(dpiX) * 3.0 / 96.0);
    sizes.progressRadiusY = static_cast<float>(static_cast<float>(dpiY) * 3.0 / 96.0);
    return sizes;
}

const DesignSizes& Design()
{
    static const DesignSizes sizes = DesignSizesAt(CachedScreenDpi().x, CachedScreenDpi().y);
    return sizes;
}

namespace {
// Computed while the process starts, before start-up proper.
[[maybe_unused]] const DesignSizes& designAtStart = Design();
}  // namespace
