// The image loaders on real resources and files: every PNG family member
// of PictoraSetup.exe decodes to its size with premultiplied alpha, a
// cached image is served without the resources, and slides load from
// JPEG files made here.
#include <gtest/gtest.h>

#include <algorithm>

#include "image_test_support.h"
#include "resource_ids.h"
#include "support/process_helpers.h"
#include "ui/image_cache.h"
#include "ui/image_decoder.h"

using namespace image_testing;
using namespace testing_support;

namespace {

// PictoraSetup.exe's resources, mapped as data for the life of the tests.
HMODULE SetupResources()
{
    static HMODULE module = LoadLibraryExW((BinaryDir() + L"\\PictoraSetup.exe").c_str(), nullptr,
                                           LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    return module;
}

struct Family {
    unsigned base;
    int sizes[4][2];
};

const Family kFamilies[] = {
    {IDB_CLOSE_GLYPH, {{16, 16}, {20, 20}, {24, 24}, {32, 32}}},
    {IDB_MINIMIZE_GLYPH, {{16, 16}, {20, 20}, {24, 24}, {32, 32}}},
    {IDB_MAXIMIZE_GLYPH, {{16, 16}, {20, 20}, {24, 24}, {32, 32}}},
    {IDB_RESTORE_GLYPH, {{16, 16}, {20, 20}, {24, 24}, {32, 32}}},
    {IDB_WORD_MARK, {{161, 26}, {202, 33}, {242, 39}, {321, 52}}},
    {IDB_COMBO_ARROW, {{42, 14}, {54, 18}, {63, 21}, {84, 28}}},
    {IDB_CHECK_ON, {{16, 16}, {20, 20}, {24, 24}, {32, 32}}},
    {IDB_CHECK_OFF, {{16, 16}, {20, 20}, {24, 24}, {32, 32}}},
    {IDB_CHEVRON_UP, {{14, 8}, {17, 11}, {21, 12}, {28, 16}}},
    {IDB_CHEVRON_DOWN, {{14, 8}, {17, 11}, {21, 12}, {28, 16}}},
};

const Bgra& At(const std::vector<Bgra>& pixels, int width, int x, int y)
{
    return pixels[static_cast<size_t>(y) * width + x];
}

TEST(LoadPngResource, EveryFamilyMemberHasItsSizeAndPremultipliedAlpha)
{
    ASSERT_NE(SetupResources(), nullptr) << "PictoraSetup.exe not found beside the tests";
    for (const Family& family : kFamilies) {
        for (unsigned step = 0; step < 4; ++step) {
            const unsigned id = family.base + step;
            auto image = LoadPngResource(id, SetupResources());
            ASSERT_TRUE(image) << id;
            ASSERT_NE(image->Bitmap(), nullptr) << id;
            EXPECT_EQ(image->width, family.sizes[step][0]) << id;
            EXPECT_EQ(image->height, family.sizes[step][1]) << id;
            EXPECT_EQ(image->frameCount, 1) << id;
            EXPECT_EQ(image->framesHorizontal, 1) << id;

            int w = 0, h = 0;
            const auto pixels = ReadPixels(image->Bitmap(), &w, &h);
            ASSERT_EQ(w, image->width) << id;
            ASSERT_EQ(h, image->height) << id;
            int transparent = 0, covered = 0;
            for (const Bgra& p : pixels) {
                // Premultiplied: no colour exceeds its pixel's alpha.
                ASSERT_LE(std::max({p.b, p.g, p.r}), p.a) << id;
                transparent += p.a == 0;
                covered += p.a >= 192;
            }
            // Glyphs on transparent ground: both kinds of pixel are there.
            EXPECT_GT(transparent, 0) << id;
            EXPECT_GT(covered, 0) << id;
        }
    }
}

TEST(LoadPngResource, WhiteGlyphsKeepColourEqualToAlphaAtTheirSoftEdges)
{
    // A white pixel of coverage a premultiplies to (a, a, a, a); the
    // anti-aliased edges hold such pixels with 0 < a < 255.
    for (unsigned base : {IDB_CLOSE_GLYPH, IDB_WORD_MARK}) {
        auto image = LoadPngResource(base + 3, SetupResources());
        ASSERT_TRUE(image && image->Bitmap()) << base;
        int soft = 0;
        for (const Bgra& p : ReadPixels(image->Bitmap())) {
            EXPECT_TRUE(p.b == p.a && p.g == p.a && p.r == p.a) << base;
            soft += p.a > 0 && p.a < 255;
        }
        EXPECT_GT(soft, 0) << base;
    }
}

TEST(LoadPngResource, DrawsWhatEachImageShows)
{
    // Close glyph at 96 DPI: the cross meets in the middle, the corner is clear.
    auto close = LoadPngResource(IDB_CLOSE_GLYPH, SetupResources());
    ASSERT_TRUE(close && close->Bitmap());
    auto px = ReadPixels(close->Bitmap());
    EXPECT_EQ(At(px, 16, 8, 8).a, 255);
    EXPECT_EQ(At(px, 16, 0, 0).a, 0);
    EXPECT_EQ(At(px, 16, 8, 1).a, 0);  // between the arms at the top

    // Checked box: the blue fill (RGB 7,165,216) near its left edge, a dark tick inside.
    auto checked = LoadPngResource(IDB_CHECK_ON + 3, SetupResources());
    ASSERT_TRUE(checked && checked->Bitmap());
    px = ReadPixels(checked->Bitmap());
    const Bgra fill = At(px, 32, 4, 16);
    EXPECT_EQ(fill.a, 255);
    EXPECT_EQ(fill.r, 7);
    EXPECT_EQ(fill.g, 165);
    EXPECT_EQ(fill.b, 216);
    const Bgra tick = At(px, 32, 14, 21);
    EXPECT_EQ(tick.a, 255);
    EXPECT_LT(tick.b, 60);

    // Unchecked box: an outline, clear inside.
    auto unchecked = LoadPngResource(IDB_CHECK_OFF + 3, SetupResources());
    ASSERT_TRUE(unchecked && unchecked->Bitmap());
    px = ReadPixels(unchecked->Bitmap());
    EXPECT_EQ(At(px, 32, 16, 16).a, 0);
    EXPECT_GT(At(px, 32, 2, 16).a, 128);

    // Arrow strip: the middle (hover) frame is the brightest of the three.
    auto arrows = LoadPngResource(IDB_COMBO_ARROW + 3, SetupResources());
    ASSERT_TRUE(arrows && arrows->Bitmap());
    px = ReadPixels(arrows->Bitmap());
    int brightest[3] = {0, 0, 0};
    for (int y = 0; y < 28; ++y)
        for (int x = 0; x < 84; ++x)
            brightest[x / 28] = std::max<int>(brightest[x / 28], At(px, 84, x, y).g);
    EXPECT_EQ(brightest[1], 255);
    EXPECT_LT(brightest[0], brightest[2]);
    EXPECT_LT(brightest[2], brightest[1]);

    // Chevrons: the up one has its point at the top, the down one at the bottom.
    auto up = LoadPngResource(IDB_CHEVRON_UP + 3, SetupResources());
    auto down = LoadPngResource(IDB_CHEVRON_DOWN + 3, SetupResources());
    ASSERT_TRUE(up && up->Bitmap() && down && down->Bitmap());
    const auto upPx = ReadPixels(up->Bitmap());
    const auto downPx = ReadPixels(down->Bitmap());
    EXPECT_GT(At(upPx, 28, 14, 3).a, 128);
    EXPECT_EQ(At(upPx, 28, 14, 13).a, 0);
    EXPECT_GT(At(downPx, 28, 14, 13).a, 128);
    EXPECT_EQ(At(downPx, 28, 14, 3).a, 0);
}

TEST(LoadPngResource, ASecondLoadReturnsTheCachedImageWithoutTheResources)
{
    const unsigned id = IDB_CHEVRON_DOWN + 1;
    // The test program's own module does not hold this image: only the
    // cache can answer the second and third loads.
    ASSERT_EQ(FindResourceW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), L"PNG"), nullptr);
    auto first = LoadPngResource(id, SetupResources());
    ASSERT_TRUE(first && first->Bitmap());
    auto again = LoadPngResource(id, nullptr);
    auto third = LoadPngResource(id, GetModuleHandleW(nullptr));
    ASSERT_TRUE(again);
    EXPECT_EQ(again.get(), first.get());
    EXPECT_EQ(again->Bitmap(), first->Bitmap());
    ASSERT_TRUE(third);
    EXPECT_EQ(third->Bitmap(), first->Bitmap());
}

TEST(LoadPngResource, AMissingResourceGivesNothingAndIsNotCached)
{
    EXPECT_FALSE(LoadPngResource(9999, SetupResources()));
    // Resource 501 is only in the test program (the 96-DPI close glyph).
    // Asked first where it is missing, then where it exists: the miss was
    // not remembered.
    ASSERT_EQ(FindResourceW(SetupResources(), MAKEINTRESOURCEW(501), L"PNG"), nullptr);
    EXPECT_FALSE(LoadPngResource(501, SetupResources()));
    auto found = LoadPngResource(501, GetModuleHandleW(nullptr));
    ASSERT_TRUE(found);
    EXPECT_NE(found->Bitmap(), nullptr);
    EXPECT_EQ(found->width, 16);
    // The application's module is the default.
    EXPECT_EQ(LoadPngResource(501).get(), found.get());
}

TEST(LoadPngResource, AnUndecodableResourceIsCachedAsAnEmptyImage)
{
    // Resource 500 of the test program is type "PNG" but holds text.
    auto broken = LoadPngResource(500, GetModuleHandleW(nullptr));
    ASSERT_TRUE(broken);
    EXPECT_EQ(broken->Bitmap(), nullptr);
    EXPECT_EQ(broken->width, 0);
    EXPECT_EQ(broken->height, 0);
    EXPECT_EQ(LoadPngResource(500, SetupResources()).get(), broken.get());
}

TEST(LoadImageFile, LoadsAJpegSlideOpaqueAtItsSize)
{
    TempDir dir;
    const std::wstring path = dir / L"slide.jpg";
    ASSERT_TRUE(WriteSolidPicture(path, 40, 30, RGB(200, 100, 50), true));
    auto slide = LoadImageFile(path);
    ASSERT_TRUE(slide);
    ASSERT_NE(slide->Bitmap(), nullptr);
    EXPECT_EQ(slide->width, 40);
    EXPECT_EQ(slide->height, 30);
    EXPECT_EQ(slide->frameCount, 1);
    EXPECT_EQ(slide->framesHorizontal, 1);
    int w = 0, h = 0;
    const auto pixels = ReadPixels(slide->Bitmap(), &w, &h);
    ASSERT_EQ(pixels.size(), 40u * 30u);
    for (const Bgra& p : pixels) {
        ASSERT_EQ(p.a, 255);
        // JPEG is lossy: near the colour, not premultiplied away.
        ASSERT_NEAR(p.r, 200, 8);
        ASSERT_NEAR(p.g, 100, 8);
        ASSERT_NEAR(p.b, 50, 8);
    }
}

TEST(LoadImageFile, AMissingFileGivesNothingAndABrokenOneAnEmptyImage)
{
    TempDir dir;
    EXPECT_FALSE(LoadImageFile(dir / L"absent.jpg"));
    ASSERT_TRUE(WriteFileBytes(dir / L"broken.jpg", "not a picture at all"));
    auto broken = LoadImageFile(dir / L"broken.jpg");
    ASSERT_TRUE(broken);
    EXPECT_EQ(broken->Bitmap(), nullptr);
    EXPECT_EQ(broken->width, 0);
    EXPECT_EQ(broken->height, 0);
}

TEST(LoadImageFile, ShutsImageDecodingDownWhenItsLastUserLeaves)
{
    TempDir dir;
    const std::wstring path = dir / L"slide.jpg";
    ASSERT_TRUE(WriteSolidPicture(path, 8, 8, RGB(0, 0, 255), true));
    {
        GdiplusFileUse outer;
        ASSERT_TRUE(LoadImageFile(path));
        EXPECT_TRUE(GdiplusRunning()) << "an outer user is still there";
    }
    EXPECT_FALSE(GdiplusRunning());
    ASSERT_TRUE(LoadImageFile(path));
    EXPECT_FALSE(GdiplusRunning());
    // Resources still decode afterwards: decoding starts again on demand.
    auto image = LoadPngResource(IDB_MAXIMIZE_GLYPH + 2, SetupResources());
    ASSERT_TRUE(image);
    EXPECT_NE(image->Bitmap(), nullptr);
    EXPECT_EQ(image->width, 24);
}

}  // namespace
