// What the exit code of a prerequisite's installer (or the result of a
// Windows Installer call) means for the run.
#pragma once

#include <windows.h>

// "Another installation is already in progress": worth waiting for.
inline constexpr DWORD kInstallerBusy = 1618;

enum class ExitCodeMeaning {
    Success,                // 0; 1638: another version is already there
    SuccessRestartNeeded,   // 3010: a restart completes it; 1641: it has
                            // started one
    Busy,                   // kInstallerBusy
    Failure,                // anything else
};

ExitCodeMeaning MeaningOfExitCode(DWORD code);

// 3010 and 1641: the machine must be restarted to complete the work.
bool ExitCodeNeedsRestart(DWORD code);
