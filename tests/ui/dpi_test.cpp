// The DPI rules at the DPIs that matter: the design steps, the values just
// below and between them, and beyond the last.
#include <gtest/gtest.h>

#include "ui/dpi.h"
#include "ui/image_variant.h"

namespace {

struct DpiCase {
    int dpi;
    double factor;
    int step14, step18, step32, step660;  // StepScale of 14, 18, 32, 660
    int scale4;                           // ScaleX(4)
    int snapped;
    UINT closeGlyph;  // the Close family 106..109
};

const DpiCase kCases[] = {
    {96, 1.0, 14, 18, 32, 660, 4, 96, 106},
    {110, 1.0, 14, 18, 32, 660, 4, 110, 106},
    {120, 1.25, 17, 22, 40, 825, 5, 120, 107},
    {130, 1.25, 17, 22, 40, 825, 5, 120, 107},
    {144, 1.5, 21, 27, 48, 990, 6, 144, 108},
    {168, 1.5, 21, 27, 48, 990, 7, 144, 108},
    {192, 2.0, 28, 36, 64, 1320, 8, 192, 109},
    {200, 2.0, 28, 36, 64, 1320, 8, 192, 109},
    {288, 2.0, 28, 36, 64, 1320, 12, 192, 109},
};

TEST(DpiRules, StepFactorScalingSnappingAndImageVariant)
{
    for (const DpiCase& c : kCases) {
        SCOPED_TRACE(c.dpi);
        EXPECT_EQ(DpiStepFactor(c.dpi), c.factor);
        EXPECT_EQ(StepScaleAt(c.dpi, 14), c.step14);
        EXPECT_EQ(StepScaleAt(c.dpi, 18), c.step18);
        EXPECT_EQ(StepScaleAt(c.dpi, 32), c.step32);
        EXPECT_EQ(StepScaleAt(c.dpi, 660), c.step660);
        EXPECT_EQ(ScaleAt(c.dpi, 4), c.scale4);
        EXPECT_EQ(SnapDpi(c.dpi), c.snapped);
        EXPECT_EQ(ImageVariantId(106, SnapDpi(c.dpi)), c.closeGlyph);
    }
}

TEST(DpiRules, StepBoundariesFallOnTheDesignSteps)
{
    // Just below each step the smaller factor still holds.
    EXPECT_EQ(DpiStepFactor(119), 1.0);
    EXPECT_EQ(DpiStepFactor(143), 1.25);
    EXPECT_EQ(DpiStepFactor(191), 1.5);
    EXPECT_EQ(SnapDpi(119), 119);
    EXPECT_EQ(SnapDpi(143), 120);
    EXPECT_EQ(SnapDpi(191), 144);
    // No screen context (DPI 0): the unstepped scale gives 0, the step
    // factor never falls below 1.0.
    EXPECT_EQ(ScaleAt(0, 4), 0);
    EXPECT_EQ(StepScaleAt(0, 660), 660);
}

TEST(DpiRules, DesignSizesAtEachStep)
{
    struct Case {
        int dpi;
        LONG panelWidth, panelHeight;
        int collapsed, slideshow, radiusX, radiusY;
        float progressRadius;
    };
    const Case cases[] = {
        {96, 660, 446, 86, 284, 4, 4, 3.0f},
        {110, 660, 446, 86, 284, 4, 4, 3.4375f},
        {120, 825, 557, 107, 355, 5, 5, 3.75f},
        {144, 990, 669, 129, 426, 6, 6, 4.5f},
        {168, 990, 669, 129, 426, 7, 7, 5.25f},
        {192, 1320, 892, 172, 568, 8, 8, 6.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dpi);
        const DesignSizes sizes = DesignSizesAt(c.dpi, c.dpi);
        EXPECT_EQ(sizes.panelSize.cx, c.panelWidth);
        EXPECT_EQ(sizes.panelSize.cy, c.panelHeight);
        EXPECT_EQ(sizes.collapsedSettingsReduction, c.collapsed);
        EXPECT_EQ(sizes.slideshowHeight, c.slideshow);
        EXPECT_EQ(sizes.textButtonRadiusX, c.radiusX);
        EXPECT_EQ(sizes.textButtonRadiusY, c.radiusY);
        EXPECT_FLOAT_EQ(sizes.progressRadiusX, c.progressRadius);
        EXPECT_FLOAT_EQ(sizes.progressRadiusY, c.progressRadius);
    }
    // Horizontal and vertical DPI are taken apart.
    const DesignSizes mixed = DesignSizesAt(96, 192);
    EXPECT_EQ(mixed.panelSize.cx, 660);
    EXPECT_EQ(mixed.panelSize.cy, 892);
    EXPECT_EQ(mixed.textButtonRadiusX, 4);
    EXPECT_EQ(mixed.textButtonRadiusY, 8);
}

// The process's own functions use the screen's DPI, read once.
TEST(DpiRules, ScreenFunctionsFollowTheCachedScreenDpi)
{
    const ScreenDpi dpi = CachedScreenDpi();
    ASSERT_GT(dpi.x, 0) << "the test runs with a screen";
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(dpi.x, GetDeviceCaps(screen, LOGPIXELSX));
    EXPECT_EQ(dpi.y, GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(StepScaleX(660), StepScaleAt(dpi.x, 660));
    EXPECT_EQ(StepScaleY(446), StepScaleAt(dpi.y, 446));
    EXPECT_EQ(ScaleX(4), ScaleAt(dpi.x, 4));
    EXPECT_EQ(SnappedDpi(), SnapDpi(dpi.y));
    EXPECT_EQ(Design().panelSize.cx, StepScaleX(660));
}

}  // namespace
