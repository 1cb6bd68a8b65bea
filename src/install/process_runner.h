// The process runner: a prerequisite or language-pack installer started as
// a program of its own (a Windows Installer package through Msiexec.exe),
// waited for until it ends.
#pragma once

#include "install/work_item.h"

// False when the program could not be started; true once it has ended,
// whatever its exit code.
bool RunInstallerProcess(const WorkItem& item);
