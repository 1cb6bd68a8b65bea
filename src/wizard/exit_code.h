// The installer's process exit code as the wizard's run decides it, in the
// codes the Windows Installer uses for the same outcomes.
#pragma once

enum class WizardOutcome {
    NotRun,     // the wizard never ran or ended before an installation
    Finished,   // the installation finished
    Cancelled,  // the user cancelled (the cancel question, the close
                // button, the running-applications box)
    Failed,     // the installation or one of its checks failed
};

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitUserCancelled = 1602;
inline constexpr int kExitInstallFailed = 1603;
inline constexpr int kExitRestartRequired = 3010;

// 0 for a finished installation (3010 when it needs a restart), 1602 for
// a cancel, 1603 for a failure; 0 when the wizard did not run.
int ExitCodeFor(WizardOutcome outcome, bool restartRequired);

// The outcome of this process's wizard run, set on the window's thread.
struct WizardResult {
    WizardOutcome outcome = WizardOutcome::NotRun;
    // Set when the finished installation asks for a restart.
    bool restartRequired = false;
    int ExitCode() const { return ExitCodeFor(outcome, restartRequired); }
};
WizardResult& TheWizardResult();
