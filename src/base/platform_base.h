// The floor every other folder stands on: platform helpers with no
// knowledge of the product's configuration, engine or windows. Nothing in
// base/ includes a header of another folder of the installer.
//
// Contents of base/:
//   unique_handle   the RAII owners of HANDLE, HKEY, HINTERNET, ... handles
//   debug_trace     DebugTrace, DebugTraceFormat: the debugger and the log
//                   file %TEMP%\PictoraSetup.log
//   notifier        Notify: every message box the user sees; kApplicationName
//   desktop_launch  LaunchAsDesktopUser, LaunchInstalledProgram: programs
//                   started through the desktop shell with the user's rights
#pragma once

#include "base/debug_trace.h"
#include "base/desktop_launch.h"
#include "base/notifier.h"
#include "base/unique_handle.h"
