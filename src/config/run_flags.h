// RunFlags: what this run of the installer was asked to do on its command
// line ("/s", "/n", "/l", "/lang") and whether start-up found an installed
// copy of the product. Start-up fills them in on the main thread before
// any window or worker exists; the configuration, the installation engine
// and the dialogs read them afterwards.
#pragma once

#include <string>

struct RunFlags {
    int existingInstall = 0;
    int silentMode = 0;
    int skipSelfUpdate = 0;
    int launchAfterInstall = 0;
    std::wstring requestedLanguage;
};

// The flags of this process's run.
RunFlags& TheRunFlags();
