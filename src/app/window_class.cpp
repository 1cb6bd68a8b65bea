#include "app/installer_app.h"
#include "app/startup_steps.h"

bool RegisterInstallerWindowClass()
{
    WNDCLASSW info{};
    // WC_DIALOG, the system dialog class (atom 0x8002).
    if (!GetClassInfoW(nullptr, MAKEINTATOM(0x8002), &info))
        return false;
    info.lpszClassName = kInstallerClassName;
    return RegisterClassW(&info) != 0;
}
