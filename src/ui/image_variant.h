// Which member of a PNG image family suits the screen. Every family has
// four variants with consecutive identifiers, drawn for 96, 120, 144 and
// 192 DPI.
#pragma once

// base for a snapped DPI below 120, base + 1 below 144, base + 2 below 192,
// base + 3 from 192 up.
unsigned ImageVariantId(unsigned baseId, int snappedDpi);

// The same for the screen (SnappedDpi).
unsigned ScreenImageVariantId(unsigned baseId);
