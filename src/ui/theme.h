// The theme every window of the installer is drawn with: the palette of
// colours and the four fonts shared by all windows of the process.
//
// Start-up installs the palette and creates the fonts before any window
// exists; the exit routine releases the fonts. Controls select a shared
// font for as long as they draw and never delete it.
#pragma once

#include <windows.h>

// The theme's colours, each a COLORREF (red in the low byte), in this
// stored order. Written once by InstallThemePalette, read afterwards.
struct ThemePalette {
    COLORREF SecondaryText = 0;
    COLORREF WindowBackground = 0;
    COLORREF FrameBorder = 0;
    COLORREF FrameBackground = 0;
    COLORREF CloseButtonHover = 0;
    COLORREF CaptionButtonHover = 0;
    COLORREF CloseButtonPressed = 0;
    COLORREF CaptionButtonPressed = 0;
    COLORREF TitleText = 0;
    COLORREF ProgressTrack = 0;
    COLORREF ProgressFill = 0;
    COLORREF LabelText = 0;
    COLORREF FieldBackground = 0;
    COLORREF FieldBorder = 0;
    COLORREF AccentDisabled = 0;
    COLORREF Accent = 0;
    COLORREF AccentHover = 0;
    COLORREF AccentPressed = 0;
    COLORREF AccentText = 0;
    COLORREF AccentTextDisabled = 0;
};

// The process's palette (all zero until InstallThemePalette ran).
const ThemePalette& Theme();
// Writes every entry of the palette.
void InstallThemePalette();

// The shared fonts (nullptr before CreateThemeFonts and after
// ReleaseThemeFonts).
HFONT BodyFont();    // "Tahoma", StepScaleX(14): labels, combo boxes
HFONT LinkFont();    // "Tahoma", StepScaleX(14), underlined: links
HFONT ButtonFont();  // "Tahoma", StepScaleX(18): text of image buttons
HFONT TitleFont();   // "Arial", StepScaleX(32), bold: the product title

// Creates the four shared fonts; a font that exists already is kept.
void CreateThemeFonts();
// Deletes them; a font that was never created is skipped.
void ReleaseThemeFonts();
