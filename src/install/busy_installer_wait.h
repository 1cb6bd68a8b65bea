// Waiting out a busy Windows Installer: only one installation runs on a
// machine at a time, and one started meanwhile (an update the system runs,
// another setup) answers 1618 until it ends. The call is tried again at
// an interval until it answers something else, the time allowed is up or
// the run is cancelled.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

struct BusyWaitTimes {
    DWORD intervalMs = 10000;
    DWORD limitMs = 5 * 60 * 1000;
};

struct BusyWaitOutcome {
    // The last answer (kInstallerBusy when the time ran out or the wait
    // was cancelled).
    DWORD result = 0;
    bool cancelled = false;
    // How many times the call was made.
    int tries = 0;
};

// Calls `attempt` once, then again after each interval while it answers
// kInstallerBusy, for at most `times.limitMs` of waiting. Each wait is
// written to the log with `what` (the package's name). `cancelEvent`
// (may be null) set while waiting ends the wait at once.
BusyWaitOutcome RetryWhileInstallerBusy(const std::function<DWORD()>& attempt, const std::wstring& what,
                                        const BusyWaitTimes& times, HANDLE cancelEvent);
