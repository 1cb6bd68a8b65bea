#include "ui/caption_glyphs.h"

#include "ui/image_cache.h"
#include "ui/image_variant.h"

GlyphStrip LoadCaptionGlyph(UINT family)
{
    GlyphStrip strip;
    const std::shared_ptr<CImageWrapper> image = LoadPngResource(ScreenImageVariantId(family));
    if (!image || !image->Bitmap())
        return strip;
    // The cache keeps the bitmap alive for the whole process.
    strip.bitmap = image->Bitmap();
    strip.width = image->width;
    strip.height = image->height;
    strip.frameCount = 1;
    strip.framesHorizontal = 1;
    return strip;
}
