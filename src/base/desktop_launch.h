// Starting a program as the desktop user. The installer runs with
// administrator rights; the programs it starts for the user (the installed
// product) must not inherit them, so the start is handed to the desktop's
// own shell process, which creates the process with the user's ordinary
// rights.
#pragma once

#include <string>

// Starts the file at `path` (a full path, blanks allowed, not quoted)
// through the desktop shell's automation objects; where those are missing,
// as the program of the shell's own user. Never waits for the started
// program. Every failure is silent: nothing is started and the caller goes
// on. COM must be initialised on the calling thread.
void LaunchAsDesktopUser(const std::wstring& path);

// The convention of every caller: nothing at all when the file is missing;
// otherwise COM initialised on this thread around LaunchAsDesktopUser.
void LaunchInstalledProgram(const std::wstring& path);
