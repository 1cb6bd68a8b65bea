// Configuration loading entry point used by start-up.
#pragma once

// Loads the manifest beside the executable into the process-wide
// configuration. Returns 0 on success, otherwise a small failure code.
int LoadConfiguration();
