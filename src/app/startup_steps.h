// The platform steps of start-up and exit, each a unit of its own.
#pragma once

#include <windows.h>

#include <string>

// Creates the single-instance semaphore. When another installer holds it,
// raises that installer's window (restored if minimised) and returns false.
bool AcquireSingleInstance(HANDLE& semaphore);

// Registers kInstallerClassName from the system dialog class.
bool RegisterInstallerWindowClass();

// Starts a downloaded newer installer with "/n". A missing file is passed
// over silently; a failed start is reported in an error message box.
void LaunchDownloadedUpdater(const std::wstring& path);
