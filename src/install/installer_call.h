// The Windows Installer call: a package installed in-process through
// msi.dll, watched by the external user-interface handler.
#pragma once

#include <windows.h>

#include "install/work_item.h"

class InstallController;

// Installs `item`'s package with the property string of the current
// configuration; true when the Windows Installer reports success (0, or
// 3010: a restart completes it). Every other result writes a trace. A
// busy Windows Installer (1618) is asked again as the controller's
// busyWait says; 3010 and 1641 set the controller's restartRequired.
bool InstallPackage(InstallController& controller, const WorkItem& item);

// The external handler (INSTALLUI_HANDLERW); `context` is the controller.
int WINAPI HandleInstallerMessage(LPVOID context, UINT messageType, LPCWSTR message);
