// The process runner: a prerequisite or language-pack installer started as
// a program of its own (a Windows Installer package through the system's
// Msiexec.exe), waited for until it ends or the run is cancelled.
#pragma once

#include <windows.h>

#include "install/work_item.h"

// How one run of the program went.
struct ProcessOutcome {
    // It was started and has ended; exitCode is its exit code.
    bool ended = false;
    // `cancelEvent` was set while it ran (it is left running).
    bool cancelled = false;
    DWORD exitCode = 0;
};

// Starts the program and waits until it ends or `cancelEvent` (may be
// null) is set. Neither `ended` nor `cancelled`: it could not be started.
// The exit code is written to the log.
ProcessOutcome RunInstallerProcess(const WorkItem& item, HANDLE cancelEvent = nullptr);
