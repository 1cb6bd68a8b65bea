#include "wizard/exit_code.h"

int ExitCodeFor(WizardOutcome outcome, bool restartRequired)
{
    switch (outcome) {
    case WizardOutcome::Finished: return restartRequired ? kExitRestartRequired : kExitSuccess;
    case WizardOutcome::Cancelled: return kExitUserCancelled;
    case WizardOutcome::Failed: return kExitInstallFailed;
    case WizardOutcome::NotRun: break;
    }
    return kExitSuccess;
}

WizardResult& TheWizardResult()
{
    static WizardResult result;
    return result;
}
