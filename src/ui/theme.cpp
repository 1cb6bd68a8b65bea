#include "ui/theme.h"

#include "ui/dpi.h"

namespace {

ThemePalette palette;

struct SharedFonts {
    HFONT body = nullptr;
    HFONT link = nullptr;
    HFONT button = nullptr;
    HFONT title = nullptr;
};
SharedFonts fonts;

// The description every shared font starts from.
LOGFONTW FontTemplate(const wchar_t* face)
{
    LOGFONTW font{};
    font.lfWidth = 0;
    font.lfEscapement = 0;
    font.lfOrientation = 0;
    font.lfWeight = FW_NORMAL;
    font.lfItalic = FALSE;
    font.lfUnderline = FALSE;
    font.lfStrikeOut = FALSE;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfOutPrecision = OUT_STROKE_PRECIS;
    font.lfClipPrecision = CLIP_STROKE_PRECIS;
    font.lfQuality = PROOF_QUALITY;
    font.lfPitchAndFamily = 0;
    lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
    return font;
}

void CreateInSlot(HFONT& slot, LOGFONTW& font, int height)
{
    // A positive height: the cell height.
    font.lfHeight = height;
    if (!slot)
        slot = CreateFontIndirectW(&font);
}

void ReleaseSlot(HFONT& slot)
{
    if (slot) {
        DeleteObject(slot);
        slot = nullptr;
    }
}

}  // namespace

const ThemePalette& Theme()
{
    return palette;
}

void InstallThemePalette()
{
    palette.SecondaryText = RGB(200, 200, 200);
    palette.WindowBackground = RGB(24, 25, 30);
    palette.FrameBorder = RGB(24, 25, 30);
    palette.FrameBackground = RGB(24, 25, 30);
    palette.CloseButtonHover = RGB(181, 39, 36);
    palette.CaptionButtonHover = RGB(49, 63, 73);
    palette.CloseButtonPressed = RGB(149, 16, 14);
    palette.CaptionButtonPressed = RGB(28, 31, 33);
    palette.TitleText = RGB(255, 255, 255);
    palette.ProgressTrack = RGB(75, 71, 70);
    palette.ProgressFill = RGB(7, 165, 216);
    palette.LabelText = RGB(185, 186, 187);
    palette.FieldBackground = RGB(47, 48, 52);
    palette.FieldBorder = RGB(65, 66, 70);
    palette.AccentDisabled = RGB(112, 112, 112);
    palette.Accent = RGB(7, 165, 216);
    palette.AccentHover = RGB(23, 190, 244);
    palette.AccentPressed = RGB(5, 138, 181);
    palette.AccentText = RGB(255, 255, 255);
    palette.AccentTextDisabled = RGB(240, 240, 240);
}

HFONT BodyFont() { return fonts.body; }
HFONT LinkFont() { return fonts.link; }
HFONT ButtonFont() { return fonts.button; }
HFONT TitleFont() { return fonts.title; }

void CreateThemeFonts()
{
    LOGFONTW font = FontTemplate(L"Tahoma");
    CreateInSlot(fonts.body, font, StepScaleX(14));
    CreateInSlot(fonts.button, font, StepScaleX(18));
    font.lfUnderline = TRUE;
    CreateInSlot(fonts.link, font, StepScaleX(14));
    font.lfUnderline = FALSE;
    lstrcpynW(font.lfFaceName, L"Arial", LF_FACESIZE);
    font.lfWeight = FW_BOLD;
    CreateInSlot(fonts.title, font, StepScaleX(32));
}

void ReleaseThemeFonts()
{
    ReleaseSlot(fonts.body);
    ReleaseSlot(fonts.link);
    ReleaseSlot(fonts.button);
    ReleaseSlot(fonts.title);
}
