// The process runner: a prerequisite or language-pack installer started as
// a program of its own (a Windows Installer package through the system's
// Msiexec.exe), waited for until it ends or the run is cancelled.
#pragma once

#include <windows.h>

#include "install/work_item.h"

// False when the program could not be started or `cancelEvent` (may be
// null) was set while it ran; true once it has ended, whatever its exit code.
bool RunInstallerProcess(const WorkItem& item, HANDLE cancelEvent = nullptr);
