#include "ui/image_variant.h"

#include "ui/dpi.h"

unsigned ImageVariantId(unsigned baseId, int snappedDpi)
{
    if (snappedDpi < 120)
        return baseId;
    if (snappedDpi < 144)
        return baseId + 1;
    if (snappedDpi < 192)
        return baseId + 2;
    return baseId + 3;
}

unsigned ScreenImageVariantId(unsigned baseId)
{
    return ImageVariantId(baseId, SnappedDpi());
}
