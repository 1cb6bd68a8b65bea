#include "install/running_applications.h"

#include "base/notifier.h"
#include "base/unique_handle.h"
#include "config/installer_config.h"
#include "i18n/ui_string_lookup.h"

namespace {

// The shown names of the watched applications that run, each followed by a
// line break; empty when none runs.
std::wstring RunningApplicationNames()
{
    std::wstring names;
    for (const WatchedApplication& application : kWatchedApplications) {
        UniqueHandle semaphore(OpenSemaphoreW(SYNCHRONIZE, FALSE, application.semaphoreName));
        if (semaphore) {
            names += application.shownName;
            names += L"\r\n";
        }
    }
    return names;
}

}  // namespace

bool CheckRunningApplications(const std::wstring& caption, HWND owner)
{
    for (;;) {
        std::wstring names = RunningApplicationNames();
        if (names.empty())
            return true;
        std::wstring text = LoadUIString(TheConfig().language, UIStringId::CloseRunningApps) + L"\n\n" + names;
        if (Notify(text, caption, MB_ICONWARNING | MB_RETRYCANCEL, owner) != IDRETRY)
            return false;
    }
}
