// Theme entry points used at start and exit: the palette every drawing
// routine reads, and the fonts shared by all windows of the process.
#pragma once

void InstallThemePalette();
void CreateThemeFonts();
void ReleaseThemeFonts();
