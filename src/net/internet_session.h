// The process-wide transfer state: one internet handle that every request
// is opened from, the lock held around each write of downloaded data, and
// the Referer that every request carries.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <string>

extern HINTERNET internetHandle;
// Initialised before main runs; never deleted (it lives as long as the process).
extern CRITICAL_SECTION downloadWriteLock;

// The product's web site; sent as the Referer header of every request
// while it is not empty.
extern std::wstring refererUrl;

// Opens the internet handle with the system's proxy settings, unless one is
// open already.
void PrepareInternetSession();

// Closes the internet handle; it becomes null, and PrepareInternetSession
// opens a new one.
void CloseInternetSession();
