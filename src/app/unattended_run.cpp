#include "app/unattended_run.h"

#include <windows.h>

#include "base/debug_trace.h"
#include "base/notifier.h"
#include "config/installer_config.h"

namespace {

// Said where the administrator looks: in a box when someone is at the
// screen, and in the default log (the one asked for is the one that
// failed).
void ReportLogFailure(const std::wstring& text)
{
    SetDebugTraceLogPath(L"");
    DebugTrace(L"PictoraSetup: " + text + L" The installation does not start.\r\n");
    Notify(text + L"\r\n\r\nThe installation does not start.", kApplicationName, MB_OK | MB_ICONERROR);
}

}  // namespace

int PrepareRunLog(const RunFlags& flags)
{
    SetQuietNotifications(flags.quietMode != 0);
    if (!flags.logRequested)
        return 0;
    if (flags.logPath.empty()) {
        ReportLogFailure(L"The option /log needs the path of the log file after it.");
        return kRunFailedExitCode;
    }
    SetDebugTraceLogPath(flags.logPath);
    if (!OpenDebugTraceLog()) {
        DWORD error = GetLastError();
        ReportLogFailure(L"The log file \"" + flags.logPath + L"\" cannot be opened for writing (error " +
                         std::to_wstring(error) + L").");
        return kRunFailedExitCode;
    }
    return 0;
}

void LogRunStart(const std::vector<std::wstring>& arguments)
{
    DebugTrace(L"PictoraSetup: run started.\r\n");
    DebugTrace(std::wstring(L"PictoraSetup: command line: ") + GetCommandLineW() + L"\r\n");
    std::wstring parsed;
    for (size_t i = 1; i < arguments.size(); ++i)
        parsed += L" [" + arguments[i] + L"]";
    DebugTrace(L"PictoraSetup: arguments:" + (parsed.empty() ? std::wstring(L" none") : parsed) + L"\r\n");
}

void LogConfigurationFound(const InstallerConfig& config, int loadResult)
{
    const ProductManifest& manifest = config.manifest;
    DebugTrace(L"PictoraSetup: installer version " +
               (manifest.webInstallerVersion.empty() ? std::wstring(L"(unknown)") : manifest.webInstallerVersion) +
               L".\r\n");
    if (loadResult != 0 || config.manifestPath.empty()) {
        DebugTraceFormat(L"PictoraSetup: no usable manifest found (configuration result %d).\r\n", loadResult);
        return;
    }
    DebugTrace(L"PictoraSetup: manifest " + config.manifestPath + L" (product " + manifest.shortName +
               (manifest.standalone ? L", standalone" : L"") +
               (config.installedVersion.empty() ? std::wstring() : L", installed " + config.installedVersion) +
               L").\r\n");
}
