// The theme: palette entries and the shared fonts as the system makes them.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "ui/dpi.h"
#include "ui/theme.h"

namespace {

TEST(Theme, PaletteHoldsEveryEntry)
{
    InstallThemePalette();
    const ThemePalette& p = Theme();
    struct Entry {
        const char* name;
        COLORREF value, expected;
    };
    const Entry entries[] = {
        {"SecondaryText", p.SecondaryText, RGB(200, 200, 200)},
        {"WindowBackground", p.WindowBackground, RGB(24, 25, 30)},
        {"FrameBorder", p.FrameBorder, RGB(24, 25, 30)},
        {"FrameBackground", p.FrameBackground, RGB(24, 25, 30)},
        {"CloseButtonHover", p.CloseButtonHover, RGB(181, 39, 36)},
        {"CaptionButtonHover", p.CaptionButtonHover, RGB(49, 63, 73)},
        {"CloseButtonPressed", p.CloseButtonPressed, RGB(149, 16, 14)},
        {"CaptionButtonPressed", p.CaptionButtonPressed, RGB(28, 31, 33)},
        {"TitleText", p.TitleText, RGB(255, 255, 255)},
        {"ProgressTrack", p.ProgressTrack, RGB(75, 71, 70)},
        {"ProgressFill", p.ProgressFill, RGB(7, 165, 216)},
        {"LabelText", p.LabelText, RGB(185, 186, 187)},
        {"FieldBackground", p.FieldBackground, RGB(47, 48, 52)},
        {"FieldBorder", p.FieldBorder, RGB(65, 66, 70)},
        {"AccentDisabled", p.AccentDisabled, RGB(112, 112, 112)},
        {"Accent", p.Accent, RGB(7, 165, 216)},
        {"AccentHover", p.AccentHover, RGB(23, 190, 244)},
        {"AccentPressed", p.AccentPressed, RGB(5, 138, 181)},
        {"AccentText", p.AccentText, RGB(255, 255, 255)},
        {"AccentTextDisabled", p.AccentTextDisabled, RGB(240, 240, 240)},
    };
    for (const Entry& e : entries)
        EXPECT_EQ(e.value, e.expected) << e.name;
    EXPECT_EQ(sizeof(ThemePalette), sizeof(entries) / sizeof(entries[0]) * sizeof(COLORREF))
        << "an entry without its value in the table above";
}

TEST(Theme, SharedFontsAreMadeOnceAndReleasedOnce)
{
    ReleaseThemeFonts();
    EXPECT_EQ(BodyFont(), nullptr);
    CreateThemeFonts();
    struct Font {
        const char* name;
        HFONT font;
        const wchar_t* face;
        LONG height, weight;
        BYTE underline;
    };
    const Font fonts[] = {
        {"BodyFont", BodyFont(), L"Tahoma", StepScaleX(14), FW_NORMAL, FALSE},
        {"LinkFont", LinkFont(), L"Tahoma", StepScaleX(14), FW_NORMAL, TRUE},
        {"ButtonFont", ButtonFont(), L"Tahoma", StepScaleX(18), FW_NORMAL, FALSE},
        {"TitleFont", TitleFont(), L"Arial", StepScaleX(32), FW_BOLD, FALSE},
    };
    for (const Font& f : fonts) {
        SCOPED_TRACE(f.name);
        ASSERT_NE(f.font, nullptr);
        LOGFONTW made{};
        ASSERT_EQ(GetObjectW(f.font, sizeof(made), &made), static_cast<int>(sizeof(made)));
        EXPECT_EQ(std::wstring(made.lfFaceName), f.face);
        EXPECT_EQ(made.lfHeight, f.height) << "a positive height: the cell height";
        EXPECT_EQ(made.lfWeight, f.weight);
        EXPECT_EQ(made.lfUnderline, f.underline);
        EXPECT_EQ(made.lfItalic, FALSE);
        EXPECT_EQ(made.lfCharSet, DEFAULT_CHARSET);
        EXPECT_EQ(made.lfOutPrecision, OUT_STROKE_PRECIS);
        EXPECT_EQ(made.lfClipPrecision, CLIP_STROKE_PRECIS);
        EXPECT_EQ(made.lfQuality, PROOF_QUALITY);
    }
    // A second creation keeps the fonts that exist.
    const HFONT body = BodyFont();
    CreateThemeFonts();
    EXPECT_EQ(BodyFont(), body);
    ReleaseThemeFonts();
    for (HFONT released : {BodyFont(), LinkFont(), ButtonFont(), TitleFont()})
        EXPECT_EQ(released, nullptr);
    EXPECT_EQ(GetObjectType(body), 0u) << "the font object is deleted";
    ReleaseThemeFonts();  // nothing left to release: no harm
    CreateThemeFonts();   // the other tests draw with them
}

}  // namespace
