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
//   protected_folder EnsureProtectedFolder: folders only administrators change
//   file_trust      IsWritableByNonAdministrators: may a file be trusted
//   sha256_digest   Sha256Digest and its 64-digit text form
#pragma once

#include "base/debug_trace.h"
#include "base/desktop_launch.h"
#include "base/file_trust.h"
#include "base/notifier.h"
#include "base/protected_folder.h"
#include "base/sha256_digest.h"
#include "base/unique_handle.h"
