#include "ui/glyph_strip.h"

#include "base/unique_handle.h"

void BlendGlyphFrame(HDC target, const RECT& destination, const GlyphStrip& strip, int k, BYTE alpha)
{
    if (strip.Empty())
        return;
    UniqueMemoryDC source(CreateCompatibleDC(target));
    if (!source)
        return;
    SelectedObject selected(source.Get(), strip.bitmap);
    const SIZE frame = strip.FrameSize();
    const POINT origin = strip.FrameOrigin(k);
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, alpha, AC_SRC_ALPHA};
    AlphaBlend(target, destination.left, destination.top, destination.right - destination.left,
               destination.bottom - destination.top, source.Get(), origin.x, origin.y, frame.cx, frame.cy, blend);
}
