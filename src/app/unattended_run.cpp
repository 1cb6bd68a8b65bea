#include "app/unattended_run.h"

#include <windows.h>

#include <cstring>

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

std::wstring ModuleFileVersion(HMODULE module)
{
    // The fixed part of the version resource, found by its signature: no
    // version library is needed for these four numbers.
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16) /* RT_VERSION */);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const BYTE* bytes = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    DWORD size = found ? SizeofResource(module, found) : 0;
    if (!bytes)
        return {};
    for (DWORD at = 0; at + sizeof(VS_FIXEDFILEINFO) <= size; at += 4) {
        VS_FIXEDFILEINFO info;
        memcpy(&info, bytes + at, sizeof info);
        if (info.dwSignature != VS_FFI_SIGNATURE)
            continue;
        return std::to_wstring(HIWORD(info.dwFileVersionMS)) + L"." + std::to_wstring(LOWORD(info.dwFileVersionMS)) +
               L"." + std::to_wstring(HIWORD(info.dwFileVersionLS)) + L"." +
               std::to_wstring(LOWORD(info.dwFileVersionLS));
    }
    return {};
}

void LogRunStart(const std::vector<std::wstring>& arguments)
{
    std::wstring version = ModuleFileVersion(GetModuleHandleW(nullptr));
    DebugTrace(L"PictoraSetup: run started, installer file version " +
               (version.empty() ? std::wstring(L"(none)") : version) + L".\r\n");
    DebugTrace(std::wstring(L"PictoraSetup: command line: ") + GetCommandLineW() + L"\r\n");
    std::wstring parsed;
    for (size_t i = 1; i < arguments.size(); ++i)
        parsed += L" [" + arguments[i] + L"]";
    DebugTrace(L"PictoraSetup: arguments:" + (parsed.empty() ? std::wstring(L" none") : parsed) + L"\r\n");
}

void LogConfigurationFound(const InstallerConfig& config, int loadResult)
{
    const ProductManifest& manifest = config.manifest;
    DebugTrace(L"PictoraSetup: installer version in the manifest " +
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
