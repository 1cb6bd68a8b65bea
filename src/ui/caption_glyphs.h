// The glyphs of the caption buttons: PNG families of four images each,
// one per design DPI, from the executable's resources.
#pragma once

#include <windows.h>

#include "ui/glyph_strip.h"

constexpr UINT kCloseGlyphFamily = 106;
constexpr UINT kMinimizeGlyphFamily = 110;
constexpr UINT kMaximizeGlyphFamily = 114;
constexpr UINT kRestoreGlyphFamily = 118;

// The member of `family` for the screen's DPI as a one-frame strip; empty
// when the image cannot be loaded.
GlyphStrip LoadCaptionGlyph(UINT family);
