#include "ui/theme.h"

// The drawing toolkit (palette table, shared fonts) is not built yet; these
// entry points are where start-up and exit reach it, and do nothing until
// it lands.
void InstallThemePalette() {}
void CreateThemeFonts() {}
void ReleaseThemeFonts() {}
