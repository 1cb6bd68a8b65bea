// The screen's DPI and the design step it snaps to.
//
// The screen's logical DPI is read once, on first use, and kept for the
// life of the process: the installer does not follow DPI changes while it
// runs, and all monitors are treated alike.
#pragma once

// The vertical DPI snapped to the design steps 120, 144 and 192; below 120
// the DPI itself is returned unchanged (96 stays 96, 110 stays 110).
// Callers compare the result against 120, 144 and 192 only.
int SnappedDpi();

// The same rule for a given vertical DPI.
int SnapDpi(int dpiY);
