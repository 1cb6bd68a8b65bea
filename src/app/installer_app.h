// CZYLMasterInstallerApp: the one application object of the process.
//
// Start-up runs, on the main thread and in this order: the single-instance
// guard, the command line, the window class, the theme palette and fonts,
// the configuration, the self-update check (unless "/n") and the wizard.
// The process has no message loop of its own: start-up returns and the
// exit routine follows at once, which may start a downloaded newer
// installer with "/n".
#pragma once

#include <windows.h>

#include <string>

#include "app/command_line.h"
#include "selfupdate/client_validator.h"

class CZYLMasterInstallerApp {
public:
    CZYLMasterInstallerApp();

    // The start-up routine; always false (no message loop follows).
    bool InitInstance();
    // The exit routine; returns the process's exit code.
    int ExitInstance();

    // The option table, built afresh for each start.
    OptionTable BuildOptionTable();

    HANDLE singleInstanceSemaphore = nullptr;
    int existingInstall = 0;
    int silentMode = 0;
    int skipSelfUpdate = 0;
    int launchAfterInstall = 0;
    std::wstring requestedLanguage;
    CClientValidator clientValidator;
};

// The process-wide application object.
CZYLMasterInstallerApp& TheApp();

// Names shared by every instance of the installer.
inline constexpr wchar_t kSingleInstanceName[] = L"ZYLMasterInstaller";
inline constexpr wchar_t kInstallerClassName[] = L"ZYLMasterInstallerClassName";
// The caption of the application's own message boxes.
inline constexpr wchar_t kApplicationName[] = L"Pictora Maxora";
