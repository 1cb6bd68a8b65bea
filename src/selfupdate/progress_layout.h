// Where the self-update dialog's progress bar goes: centred in the client
// area at its own size.
#pragma once

#include <windows.h>

// The bar's top-left corner for a client area of `clientWidth` ×
// `clientHeight` and a bar of `barWidth` × `barHeight`: half of each
// difference, in integer division (a bar larger than the area starts
// before its edge).
POINT CenteredBarOrigin(int clientWidth, int clientHeight, int barWidth, int barHeight);
