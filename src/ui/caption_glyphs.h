// The glyphs of the caption buttons: PNG families of four images each,
// one per design DPI, from the executable's resources.
#pragma once

#include <windows.h>

#include "resource_ids.h"
#include "ui/glyph_strip.h"

constexpr UINT kCloseGlyphFamily = IDB_CLOSE_GLYPH;
constexpr UINT kMinimizeGlyphFamily = IDB_MINIMIZE_GLYPH;
constexpr UINT kMaximizeGlyphFamily = IDB_MAXIMIZE_GLYPH;
constexpr UINT kRestoreGlyphFamily = IDB_RESTORE_GLYPH;

// The member of `family` for the screen's DPI as a one-frame strip; empty
// when the image cannot be loaded.
GlyphStrip LoadCaptionGlyph(UINT family);
