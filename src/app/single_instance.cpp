#include "app/installer_app.h"
#include "app/startup_steps.h"

bool AcquireSingleInstance(HANDLE& semaphore)
{
    semaphore = CreateSemaphoreW(nullptr, 0, 1, kSingleInstanceName);
    if (semaphore && GetLastError() == ERROR_ALREADY_EXISTS) {
        if (HWND running = FindWindowW(kInstallerClassName, nullptr)) {
            if (IsIconic(running))
                ShowWindow(running, SW_RESTORE);
            SetForegroundWindow(running);
        }
        return false;
    }
    // No handle at all: go on as the first instance.
    return true;
}
