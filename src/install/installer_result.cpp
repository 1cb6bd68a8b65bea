#include "install/installer_result.h"

bool IsInstallerSuccess(UINT result)
{
    return result == ERROR_SUCCESS || result == ERROR_SUCCESS_REBOOT_REQUIRED;
}

std::wstring InstallerFailureTrace(UINT result)
{
    // "%d": the code as a signed number.
    return L"KESTO_DEBUG: MSI Installation failed. Error Code: " + std::to_wstring(static_cast<int>(result)) +
           L"\r\n";
}
