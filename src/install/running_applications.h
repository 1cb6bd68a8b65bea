// CheckRunningApplications: programs that must be closed before the
// installation starts, each recognised by a named semaphore it holds.
#pragma once

#include <windows.h>

#include <array>
#include <string>

struct WatchedApplication {
    const wchar_t* semaphoreName;
    const wchar_t* shownName;
};

inline constexpr std::array<WatchedApplication, 2> kWatchedApplications{{
    {L"TODO", L"TODO"},
    {L"TODO", L"TODO"},
}};

// True when no watched application runs. Otherwise shows the list in a
// warning box (Retry, Cancel) owned by `owner`: Retry looks again, Cancel
// returns false.
bool CheckRunningApplications(const std::wstring& caption, HWND owner);
