// LoadConfiguration: the executable's folder, the manifest (or the one the
// registry names instead), its validation, the language, an installed copy
// and the working folders, in that order.
#include "config/installer_config.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "config/installed_product.h"
#include "config/run_flags.h"
#include "i18n/language_list.h"

InstallerConfig& TheConfig()
{
    static InstallerConfig config;
    return config;
}

RunFlags& TheRunFlags()
{
    static RunFlags flags;
    return flags;
}

namespace {

std::wstring ModulePath()
{
    wchar_t buffer[512];
    DWORD length = GetModuleFileNameW(nullptr, buffer, 512);
    return std::wstring(buffer, length);
}

bool IsFolder(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Creates `folder` (and missing parents) unless it is there. A file of
// that name is no working folder: creating the folder then fails, instead
// of every later download into it.
bool EnsureFolder(const std::wstring& folder)
{
    if (IsFolder(folder))
        return true;
    return SHCreateDirectory(nullptr, folder.c_str()) == ERROR_SUCCESS;
}

}  // namespace

int LoadConfiguration()
{
    RunFlags& flags = TheRunFlags();
    return LoadConfiguration(TheConfig(), ModulePath(), flags.existingInstall, flags.requestedLanguage);
}

int LoadConfiguration(InstallerConfig& config, const std::wstring& exePath, int& existingInstall,
                      const std::wstring& requestedLanguage)
{
    // 1-2. The executable's folder.
    config.exeFolder.clear();
    if (exePath.empty())
        return ConfigurationNoExecutablePath;
    size_t slash = exePath.rfind(L'\\');
    if (slash == std::wstring::npos || slash == 0)
        return ConfigurationNoExecutablePath;
    config.exeFolder = exePath.substr(0, slash);

    // 3-4. The manifest beside it.
    config.manifestPath = config.exeFolder + L"\\config\\manifest.xml";
    if (!LoadManifest(config.manifestPath, config.manifest))
        return ConfigurationManifestUnusable;

    // 5. A web package takes the manifest that the product recorded, if any.
    if (!config.manifest.standalone) {
        RecordedManifest recorded = GetRecordedManifestPath();
        if (recorded.usable) {
            config.manifestPath = recorded.path;
            ProductManifest replacement;
            if (!LoadManifest(config.manifestPath, replacement))
                return ConfigurationManifestUnusable;
            config.manifest = std::move(replacement);
        }
    }

    // 6. What nothing can work without.
    if (config.manifest.pid.empty() || config.manifest.registryKey.empty() ||
        config.manifest.mainComponentUrl.empty())
        return ConfigurationManifestUnusable;

    // 7-8. Language, then an installed copy (which may bring its language).
    BuildLanguageList(config, requestedLanguage);
    DetectInstalledProduct(config, existingInstall);

    // 9. Working folders. An empty component folder of an earlier run is
    // made anew; one that still holds files stays. A standalone package
    // brings its components there and it is left alone.
    config.componentFolder = config.exeFolder + L"\\component\\";
    config.msiFolder = config.exeFolder + L"\\msi\\";
    config.transformFolder = config.exeFolder + L"\\transform\\";
    if (!config.manifest.standalone) {
        if (PathFileExistsW(config.componentFolder.c_str()))
            RemoveDirectoryW(config.componentFolder.c_str());
        if (!EnsureFolder(config.componentFolder))
            return ConfigurationFolderFailed;
    }
    if (!EnsureFolder(config.msiFolder) || !EnsureFolder(config.transformFolder))
        return ConfigurationFolderFailed;
    return ConfigurationLoaded;
}
