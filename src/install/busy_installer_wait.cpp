#include "install/busy_installer_wait.h"

#include "base/debug_trace.h"
#include "install/installer_exit_codes.h"

BusyWaitOutcome RetryWhileInstallerBusy(const std::function<DWORD()>& attempt, const std::wstring& what,
                                        const BusyWaitTimes& times, HANDLE cancelEvent)
{
    BusyWaitOutcome outcome;
    outcome.result = attempt();
    outcome.tries = 1;
    DWORD waited = 0;
    while (outcome.result == kInstallerBusy) {
        if (waited >= times.limitMs) {
            DebugTraceFormat(L"PictoraSetup: the Windows Installer is still busy with another installation after "
                             L"%lu s; %s is given up.\r\n",
                             static_cast<unsigned long>(waited / 1000), what.c_str());
            return outcome;
        }
        DWORD wait = times.intervalMs < times.limitMs - waited ? times.intervalMs : times.limitMs - waited;
        DebugTraceFormat(L"PictoraSetup: the Windows Installer is busy with another installation (1618); %s is "
                         L"tried again in %lu ms (try %d, waited %lu ms so far).\r\n",
                         what.c_str(), static_cast<unsigned long>(wait), outcome.tries + 1,
                         static_cast<unsigned long>(waited));
        if (cancelEvent) {
            if (WaitForSingleObject(cancelEvent, wait) == WAIT_OBJECT_0) {
                DebugTraceFormat(L"PictoraSetup: cancelled while waiting to install %s.\r\n", what.c_str());
                outcome.cancelled = true;
                return outcome;
            }
        } else {
            Sleep(wait);
        }
        waited += wait;
        outcome.result = attempt();
        ++outcome.tries;
    }
    return outcome;
}
