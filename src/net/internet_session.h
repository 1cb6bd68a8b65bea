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

// How long a request waits to connect, to send, and for each piece of the
// answer before it fails: a server that stalls fails the transfer instead
// of holding the installation.
inline constexpr DWORD kTransferTimeoutMs = 30000;

// Opens the internet handle with the system's proxy settings, unless one is
// open already, and gives it the connect, send and receive timeouts of
// kTransferTimeoutMs.
void PrepareInternetSession();

// Sets the three timeouts of the internet handle and of every request
// prepared from now on to `milliseconds` (kTransferTimeoutMs at start).
// False when there is no handle or the handle refused an option.
bool SetTransferTimeouts(DWORD milliseconds);

// Gives a request handle the current timeouts. Requests inherit them from
// the internet handle where the internet client passes options down; set
// on the request itself as well, they hold wherever it does not.
void ApplyTransferTimeouts(HINTERNET request);

// Closes the internet handle; it becomes null, and PrepareInternetSession
// opens a new one.
void CloseInternetSession();
