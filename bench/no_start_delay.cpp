// The installation benchmark's build of the installer starts its run as
// soon as the status page is shown.
#include "wizard/status_panel.h"

const UINT kStartDelayMs = 0;
