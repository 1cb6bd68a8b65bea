#include "wizard/install_guide.h"

// The wizard and its panels are not built yet; nothing is shown.
void RunInstallGuide() {}
