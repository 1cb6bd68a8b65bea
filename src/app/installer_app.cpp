#include "app/installer_app.h"

#include <objbase.h>

#include "app/startup_steps.h"
#include "app/unattended_run.h"
#include "base/debug_trace.h"
#include "config/installer_config.h"
#include "net/internet_session.h"
#include "ui/theme.h"
#include "wizard/exit_code.h"
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

OptionTable BuildOptionTable(RunFlags& flags)
{
    return {
        {"/s", [&flags](const std::wstring&) { flags.silentMode = 1; }},
        {"/quiet",
         [&flags](const std::wstring&) {
             flags.silentMode = 1;
             flags.quietMode = 1;
         }},
        {"/log",
         [&flags](const std::wstring& value) {
             flags.logRequested = 1;
             flags.logPath = value;
         }},
        {"/n", [&flags](const std::wstring&) { flags.skipSelfUpdate = 1; }},
        {"/l", [&flags](const std::wstring&) { flags.launchAfterInstall = 1; }},
        {"/lang", [&flags](const std::wstring& value) { flags.requestedLanguage = value; }},
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

    // 2.-3. Options; then the log the administrator asked for, and the
    // run's first lines in it.
    std::vector<std::wstring> arguments = ProcessArguments();
    ParseCommandLine(arguments, BuildOptionTable(TheRunFlags()));
    if (int code = PrepareRunLog(TheRunFlags())) {
        exitCode = code;
        return false;
    }
    LogRunStart(arguments);

    // 4. The window class that a second instance looks for.
    if (!RegisterInstallerWindowClass()) {
        DebugTrace(L"PictoraSetup: window class registration failed.\r\n");
        return false;
    }

    // 5.-6. Theme palette and shared fonts.
    InstallThemePalette();
    CreateThemeFonts();

    // 7. Configuration; its result shows through the configuration itself.
    LogConfigurationFound(TheConfig(), LoadConfiguration());

    // 8. Self-update check.
    if (!TheRunFlags().skipSelfUpdate) {
        clientValidator.updaterPath.clear();
        clientValidator.RunModal();
        if (clientValidator.outcome != 0) {
            // A check that could not reach the server is a failed run.
            if (clientValidator.lastVerdict == kVerdictServerUnreachable)
                exitCode = kExitInstallFailed;
            return false;
        }
    }

    // 9. The wizard.
    HRESULT com = CoInitialize(nullptr);
    exitCode = RunInstallGuide();
    if (SUCCEEDED(com))
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
    LogRunEnd(OutcomeText(), exitCode);
    return exitCode;
}

std::wstring CZYLMasterInstallerApp::OutcomeText() const
{
    switch (exitCode) {
    case kExitSuccess:
        return clientValidator.outcome == 2 ? L"a newer installer takes over" : L"finished";
    case kExitUserCancelled:
        return L"cancelled";
    case kExitRestartRequired:
        return L"finished, a restart is needed";
    default:
        return L"failed";
    }
}
