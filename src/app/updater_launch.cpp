#include "app/installer_app.h"

#include <shellapi.h>
#include <shlwapi.h>

#include "app/startup_steps.h"
#include "base/notifier.h"

void LaunchDownloadedUpdater(const std::wstring& path)
{
    if (path.empty() || !PathFileExistsW(path.c_str()))
        return;
    auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", path.c_str(), L"/n", nullptr, SW_SHOWNORMAL));
    if (result <= 32)
        Notify(L"The updater cannot be launched!", kApplicationName, MB_ICONSTOP | MB_OK);
}
