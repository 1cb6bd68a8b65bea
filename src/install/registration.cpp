#include "install/registration.h"

#include <windows.h>
#include <shlwapi.h>

#include <vector>

#include "config/installed_product.h"
#include "config/installer_config.h"
#include "config/run_flags.h"

bool RegisterInstallation(std::wstring& recordedFolder)
{
    recordedFolder.clear();
    if (TheRunFlags().existingInstall)
        return true;
    InstallerConfig config = TheConfig();
    std::vector<wchar_t> folder(config.installFolder.begin(), config.installFolder.end());
    folder.push_back(L'\0');
    PathRemoveBackslashW(folder.data());
    config.installFolder = folder.data();
    recordedFolder = config.installFolder;
    return WriteInstallationRecords(config);
}
