// Image logic on plain data: which family member a screen DPI picks, alpha
// premultiplication, and where a frame of a state strip lies.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "ui/dpi.h"
#include "ui/image_pixels.h"
#include "ui/image_variant.h"

namespace {

struct VariantCase {
    int screenDpi;
    int snapped;
    unsigned offset;
};

TEST(ImageVariant, FollowsTheSnappedScreenDpi)
{
    const VariantCase cases[] = {
        {96, 96, 0},   {110, 110, 0}, {119, 119, 0}, {120, 120, 1}, {130, 120, 1},
        {143, 120, 1}, {144, 144, 2}, {168, 144, 2}, {191, 144, 2}, {192, 192, 3},
        {200, 192, 3}, {288, 192, 3},
    };
    for (const VariantCase& c : cases) {
        const int snapped = SnapDpi(c.screenDpi);
        EXPECT_EQ(snapped, c.snapped) << c.screenDpi;
        for (unsigned base : {106u, 129u, 144u, 165u})
            EXPECT_EQ(ImageVariantId(base, snapped), base + c.offset) << c.screenDpi << " base " << base;
    }
}

struct Pixel {
    std::uint8_t b, g, r, a;
};

struct PremultiplyCase {
    Pixel in;
    Pixel out;
};

TEST(PremultiplyAlpha, ScalesEachColourByAlphaAndKeepsAlpha)
{
    const PremultiplyCase cases[] = {
        {{255, 255, 255, 0}, {0, 0, 0, 0}},          // fully transparent becomes black
        {{17, 99, 240, 0}, {0, 0, 0, 0}},
        {{255, 255, 255, 128}, {128, 128, 128, 128}},
        {{255, 255, 255, 255}, {255, 255, 255, 255}},
        {{10, 20, 30, 255}, {10, 20, 30, 255}},      // opaque pixels are unchanged
        {{100, 200, 255, 200}, {78, 156, 200, 200}}, // c * a / 255, truncated
        {{255, 0, 1, 1}, {1, 0, 0, 1}},
        {{254, 254, 254, 254}, {253, 253, 253, 254}},
    };
    for (const PremultiplyCase& c : cases) {
        Pixel p = c.in;
        PremultiplyAlpha(reinterpret_cast<std::uint8_t*>(&p), 1, 1, 4);
        EXPECT_EQ(p.b, c.out.b) << int(c.in.b) << " a=" << int(c.in.a);
        EXPECT_EQ(p.g, c.out.g) << int(c.in.g) << " a=" << int(c.in.a);
        EXPECT_EQ(p.r, c.out.r) << int(c.in.r) << " a=" << int(c.in.a);
        EXPECT_EQ(p.a, c.out.a);
    }
}

TEST(PremultiplyAlpha, CoversEveryRowAndLeavesRowPaddingAlone)
{
    // 3 x 2 pixels in rows of 16 bytes: 4 bytes of padding after each row.
    std::vector<std::uint8_t> rows(32, 0xEE);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            std::uint8_t* p = &rows[y * 16 + x * 4];
            p[0] = p[1] = p[2] = 200;
            p[3] = static_cast<std::uint8_t>(51 * (y * 3 + x));  // 0, 51, ..., 255
        }
    PremultiplyAlpha(rows.data(), 3, 2, 16);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            const std::uint8_t* p = &rows[y * 16 + x * 4];
            const int a = 51 * (y * 3 + x);
            EXPECT_EQ(p[0], 200 * a / 255) << x << "," << y;
            EXPECT_EQ(p[2], 200 * a / 255) << x << "," << y;
            EXPECT_EQ(p[3], a);
        }
        for (int i = 12; i < 16; ++i)
            EXPECT_EQ(rows[y * 16 + i], 0xEE) << "padding of row " << y;
    }
}

struct FrameCase {
    int width, height, count, horizontal, k;
    ImageFrame frame;
};

TEST(ImageFrameAt, SplitsAStripSideBySideOrStacked)
{
    const FrameCase cases[] = {
        {42, 14, 3, 1, 0, {0, 0, 14, 14}},
        {42, 14, 3, 1, 1, {14, 0, 14, 14}},
        {42, 14, 3, 1, 2, {28, 0, 14, 14}},
        {63, 21, 3, 1, 2, {42, 0, 21, 21}},
        {16, 48, 3, 0, 0, {0, 0, 16, 16}},
        {16, 48, 3, 0, 2, {0, 32, 16, 16}},
        {20, 20, 1, 1, 0, {0, 0, 20, 20}},   // a single frame is the whole image
        {20, 20, 1, 0, 0, {0, 0, 20, 20}},
        {20, 20, 0, 1, 0, {0, 0, 20, 20}},   // no frame count: still the whole image
    };
    for (const FrameCase& c : cases) {
        const ImageFrame f = ImageFrameAt(c.width, c.height, c.count, c.horizontal, c.k);
        EXPECT_EQ(f.x, c.frame.x) << c.width << "x" << c.height << " k=" << c.k;
        EXPECT_EQ(f.y, c.frame.y) << c.width << "x" << c.height << " k=" << c.k;
        EXPECT_EQ(f.width, c.frame.width) << c.width << "x" << c.height << " k=" << c.k;
        EXPECT_EQ(f.height, c.frame.height) << c.width << "x" << c.height << " k=" << c.k;
    }
}

}  // namespace
