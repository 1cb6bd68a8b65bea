#include "install/installer_exit_codes.h"

ExitCodeMeaning MeaningOfExitCode(DWORD code)
{
    switch (code) {
    case ERROR_SUCCESS:
    case ERROR_PRODUCT_VERSION:
        return ExitCodeMeaning::Success;
    case ERROR_SUCCESS_REBOOT_REQUIRED:
    case ERROR_SUCCESS_REBOOT_INITIATED:
        return ExitCodeMeaning::SuccessRestartNeeded;
    case kInstallerBusy:
        return ExitCodeMeaning::Busy;
    default:
        return ExitCodeMeaning::Failure;
    }
}

bool ExitCodeNeedsRestart(DWORD code)
{
    return MeaningOfExitCode(code) == ExitCodeMeaning::SuccessRestartNeeded;
}
