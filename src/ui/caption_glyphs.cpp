#include "ui/caption_glyphs.h"

GlyphStrip LoadCaptionGlyph(UINT family)
{
    // The image cache is not part of this build yet: no glyph.
    (void)family;
    return {};
}
