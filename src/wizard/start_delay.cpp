// The status page's start delay, alone in its file: a program that defines
// kStartDelayMs itself (the installer build of the installation benchmark)
// never pulls this object from the library.
#include "wizard/status_panel.h"

const UINT kStartDelayMs = 3000;
