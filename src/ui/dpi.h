// The screen's DPI and the sizes designed in device-independent pixels
// (pixels at 96 DPI, "DIPs") scaled to it.
//
// The screen's logical DPI is read once, on the first call of any DPI
// function, and kept for the life of the process: the installer does not
// follow DPI changes while it runs, and all monitors are treated alike.
// Without a screen device context at that first read both values stay 0:
// ScaleX gives 0, the step factor stays 1.0.
//
// Each rule comes twice: for a given DPI (the ...At forms, plain
// arithmetic) and for the screen's.
#pragma once

#include <windows.h>

struct ScreenDpi {
    int x = 0;
    int y = 0;
};

// The DPI cache, filled on first use.
const ScreenDpi& CachedScreenDpi();

// dpi / 96 rounded down to the design steps 1.0, 1.25, 1.5 and 2.0.
double DpiStepFactor(int dpi);
// n scaled by the unstepped ratio in single precision, truncated.
int ScaleAt(int dpi, int n);
// n times the step factor, truncated.
int StepScaleAt(int dpi, int n);
// The vertical DPI snapped to the design steps 120, 144 and 192; below 120
// the DPI itself is returned unchanged (96 stays 96, 110 stays 110).
// Callers compare the result against 120, 144 and 192 only.
int SnapDpi(int dpiY);

// The same for the screen: horizontal sizes with X, vertical with Y.
int ScaleX(int n);
int StepScaleX(int n);
int StepScaleY(int n);
int SnappedDpi();

// Sizes fixed once while the process starts (so they also fix the DPI
// cache before start-up proper).
struct DesignSizes {
    SIZE panelSize{};               // StepScaleX(660) x StepScaleY(446)
    int collapsedSettingsReduction = 0;  // StepScaleY(86)
    int slideshowHeight = 0;        // StepScaleY(284)
    int textButtonRadiusX = 0;      // ScaleX(4)
    int textButtonRadiusY = 0;      // truncate((float)dpiY * 4 / 96)
    float progressRadiusX = 0;      // (float)dpiX * 3 / 96
    float progressRadiusY = 0;      // (float)dpiY * 3 / 96
};
DesignSizes DesignSizesAt(int dpiX, int dpiY);
const DesignSizes& Design();
