// The process-wide transfer state: one internet handle that every request
// is opened from, and the lock held around each write of downloaded data.
#pragma once

#include <windows.h>
#include <wininet.h>

extern HINTERNET internetHandle;
extern CRITICAL_SECTION downloadWriteLock;

// Initialises downloadWriteLock and, unless one is open already, opens the
// internet handle with the system's proxy settings.
void PrepareInternetSession();
