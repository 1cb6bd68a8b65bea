// What an unattended run needs from start-up: the quiet switch for the
// message boxes, the log the administrator asked for, and the lines that
// open a run in the log. InitInstance calls them in this order:
//   after the option parse:    PrepareRunLog (stop with its code if not 0),
//                              then LogRunStart
//   after LoadConfiguration:   LogConfigurationFound
// and the exit code's owner calls LogRunEnd (base/debug_trace.h).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "config/run_flags.h"

struct InstallerConfig;

// The exit code of a run that stopped before anything was installed.
inline constexpr int kRunFailedExitCode = 1603;

// Switches the message boxes to quiet for "/quiet" and points the log at
// the "/log" path, opening it at once. 0 when the run can go on; else
// kRunFailedExitCode: "/log" came without a path, or its file cannot be
// opened (reported in a box unless quiet, and in the default log).
int PrepareRunLog(const RunFlags& flags);

// The first lines of the run: the installer's file version, its process's
// command line, the arguments as parsed.
void LogRunStart(const std::vector<std::wstring>& arguments);

// The file version in `module`'s version resource ("1.0.0.1"); empty when
// it has none.
std::wstring ModuleFileVersion(HMODULE module);

// The installer version the manifest declares and the manifest start-up
// found (or that it found none: `loadResult` is LoadConfiguration's
// result).
void LogConfigurationFound(const InstallerConfig& config, int loadResult);
