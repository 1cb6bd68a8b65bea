// The Direct2D and DirectWrite objects as the text button makes them.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "ui/direct2d.h"

namespace {

TEST(Direct2D, ObjectsOfTheTextButtonAreMade)
{
    UniqueComPtr<ID2D1Factory1> factory;
    ASSERT_TRUE(CreateDirect2DFactory(factory));
    UniqueComPtr<ID2D1DCRenderTarget> target;
    ASSERT_TRUE(CreateDCRenderTarget(factory.Get(), target));
    UniqueComPtr<IDWriteFactory> write;
    ASSERT_TRUE(CreateDirectWriteFactory(write));

    struct Case {
        int dpiY;
        float size;  // truncate(dpiY * 14 / 96)
    };
    for (const Case& c : {Case{96, 14.0f}, Case{120, 17.0f}, Case{144, 21.0f}, Case{192, 28.0f}}) {
        UniqueComPtr<IDWriteTextFormat> format;
        ASSERT_TRUE(CreateButtonTextFormat(write.Get(), c.dpiY, format)) << c.dpiY;
        EXPECT_EQ(format->GetFontSize(), c.size) << c.dpiY;
        EXPECT_EQ(format->GetWordWrapping(), DWRITE_WORD_WRAPPING_WHOLE_WORD);
        EXPECT_EQ(format->GetFontWeight(), DWRITE_FONT_WEIGHT_NORMAL);
        wchar_t family[32] = {};
        ASSERT_EQ(format->GetFontFamilyName(family, 32), S_OK);
        EXPECT_EQ(std::wstring(family), L"Tahoma");
    }
    EXPECT_FALSE(CreateDCRenderTarget(nullptr, target)) << "no factory, no render target";
}

TEST(Direct2D, PaletteColoursBecomeOpaqueUnitColours)
{
    const D2D1_COLOR_F c = ToD2DColor(RGB(255, 51, 0));
    EXPECT_FLOAT_EQ(c.r, 1.0f);
    EXPECT_FLOAT_EQ(c.g, 0.2f);
    EXPECT_FLOAT_EQ(c.b, 0.0f);
    EXPECT_FLOAT_EQ(c.a, 1.0f);
}

}  // namespace
