// RunFlags: what this run of the installer was asked to do on its command
// line ("/s", "/quiet", "/n", "/l", "/lang", "/log") and whether start-up found an installed
// copy of the product. Start-up fills them in on the main thread before
// any window or worker exists; the configuration, the installation engine
// and the dialogs read them afterwards.
#pragma once

#include <string>

struct RunFlags {
    int existingInstall = 0;
    int silentMode = 0;
    // "/quiet": silentMode, and no message box at all (each is logged and
    // answered with the choice that stops safely).
    int quietMode = 0;
    int skipSelfUpdate = 0;
    int launchAfterInstall = 0;
    std::wstring requestedLanguage;
    // "/log <path>": the log goes to that file. logRequested is set even
    // when no path followed, which start-up reports as an error.
    int logRequested = 0;
    std::wstring logPath;
};

// The flags of this process's run.
RunFlags& TheRunFlags();
