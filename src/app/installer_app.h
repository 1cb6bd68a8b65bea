// CZYLMasterInstallerApp: the one application object of the process.
//
// Start-up runs, on the main thread and in this order: the single-instance
// guard, the command line, the window class, the theme palette and fonts,
// the configuration, the self-update check (unless "/n") and the wizard.
// The process has no message loop of its own: start-up returns and the
// exit routine follows at once, which may start a downloaded newer
// installer with "/n".
//
// Contents of app/ (the top: it calls every other folder, none calls it):
//   installer_app    this object, start-up (InitInstance) and exit
//                    (ExitInstance), BuildOptionTable over the run's flags
//                    (config/run_flags.h)
//   command_line     ParseCommandLine, ProcessArguments
//   startup_steps    the single-instance guard, the window class and the
//                    newer installer's launch at exit (single_instance,
//                    window_class, updater_launch)
//   dll_search_order the DLL search restricted to System32 before anything
//                    else runs; main: the entry point
#pragma once

#include <windows.h>

#include <string>

#include "app/command_line.h"
#include "config/run_flags.h"
#include "selfupdate/client_validator.h"

class CZYLMasterInstallerApp {
public:
    CZYLMasterInstallerApp();

    // The start-up routine; always false (no message loop follows).
    bool InitInstance();
    // The exit routine; returns the process's exit code.
    int ExitInstance();
    // The run's outcome in words, for the log's last line.
    std::wstring OutcomeText() const;

    HANDLE singleInstanceSemaphore = nullptr;
    // The process exit code: the wizard's outcome (0 finished, 1602
    // cancelled, 1603 failed, 3010 finished but a restart is needed);
    // 1603 when the log asked for cannot be opened or the server's version
    // check cannot be made; otherwise 0 when the wizard did not run.
    int exitCode = 0;
    CClientValidator clientValidator;
};

// The process-wide application object.
CZYLMasterInstallerApp& TheApp();

// The option table that sets `flags` (the run's flags, TheRunFlags(), at
// start-up), built afresh for each start.
OptionTable BuildOptionTable(RunFlags& flags);

// Names shared by every instance of the installer.
inline constexpr wchar_t kSingleInstanceName[] = L"ZYLMasterInstaller";
inline constexpr wchar_t kInstallerClassName[] = L"ZYLMasterInstallerClassName";
