// The installation wizard entry point used by start-up.
#pragma once

// Runs the wizard (dialog resource 139) modally; COM is initialised by the
// caller around it.
void RunInstallGuide();
