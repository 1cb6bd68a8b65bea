#include "app/installer_app.h"

#include <objbase.h>

#include "app/debug_trace.h"
#include "app/startup_steps.h"
#include "config/installer_config.h"
#include "net/internet_session.h"
#include "ui/theme.h"
#include "wizard/install_guide.h"

CZYLMasterInstallerApp::CZYLMasterInstallerApp()
{
    PrepareInternetSession();
}

CZYLMasterInstallerApp& TheApp()
{
    static CZYLMasterInstallerApp app;
    return app;
}

OptionTable CZYLMasterInstallerApp::BuildOptionTable()
{
    return {
        {"/s", [this](const std::wstring&) { silentMode = 1; }},
        {"/n", [this](const std::wstring&) { skipSelfUpdate = 1; }},
        {"/l", [this](const std::wstring&) { launchAfterInstall = 1; }},
        {"/lang", [this](const std::wstring& value) { requestedLanguage = value; }},
    };
}

bool CZYLMasterInstallerApp::InitInstance()
{
    // 1. Only one installer at a time.
    if (!AcquireSingleInstance(singleInstanceSemaphore)) {
        DebugTrace(L"PictoraSetup: another installer is running; leaving.\r\n");
        return false;
    }
    DebugTrace(L"PictoraSetup: single-instance guard taken.\r\n");

    // 2.-3. Options.
    ParseCommandLine(ProcessArguments(), BuildOptionTable());

    // 4. The window class that a second instance looks for.
    if (!RegisterInstallerWindowClass()) {
        DebugTrace(L"PictoraSetup: window class registration failed.\r\n");
        return false;
    }

    // 5.-6. Theme palette and shared fonts.
    InstallThemePalette();
    CreateThemeFonts();

    // 7. Configuration; its result shows through the configuration itself.
    LoadConfiguration();

    // 8. Self-update check.
    if (!skipSelfUpdate) {
        clientValidator.updaterPath.clear();
        clientValidator.RunModal();
        if (clientValidator.outcome != 0)
            return false;
    }

    // 9. The wizard.
    CoInitialize(nullptr);
    RunInstallGuide();
    CoUninitialize();
    return false;
}

int CZYLMasterInstallerApp::ExitInstance()
{
    ReleaseThemeFonts();
    if (singleInstanceSemaphore) {
        CloseHandle(singleInstanceSemaphore);
        singleInstanceSemaphore = nullptr;
    }
    if (clientValidator.outcome == 2) {
        std::wstring path = clientValidator.updaterPath;
        LaunchDownloadedUpdater(path);
    }
    return 0;
}
