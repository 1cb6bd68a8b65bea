// LoadConfiguration: the executable's folder, the manifest (or the one the
// registry names instead), its validation, the language, an installed copy
// and the working folders, in that order.
#include "config/installer_config.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "base/debug_trace.h"
#include "base/file_trust.h"
#include "base/protected_folder.h"
#include "config/installed_product.h"
#include "config/manifest_names.h"
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

// Creates `folder` (and missing parents) unless it is there, writable by
// administrators only (base/protected_folder.h); an existing one gets that
// access list. A file of that name is no working folder: the call then
// fails, instead of every later download into it.
bool EnsureFolder(const std::wstring& folder)
{
    // A junction or link in the folder's place would send the elevated
    // installer's writes wherever it points.
    // (Asked without the trailing backslash, which would follow the link.)
    std::wstring itself = folder;
    while (itself.size() > 3 && itself.back() == L'\\')
        itself.pop_back();
    DWORD attributes = GetFileAttributesW(itself.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        DebugTraceFormat(L"PictoraSetup: working folder %s is a junction or link; refused.\r\n", folder.c_str());
        return false;
    }
    if (EnsureProtectedFolder(folder))
        return true;
    DebugTraceFormat(L"PictoraSetup: working folder %s cannot be made or protected (error %d).\r\n", folder.c_str(),
                     static_cast<int>(GetLastError()));
    return false;
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

    // 5. A web package takes the manifest that the product recorded, if any,
    // but only one that nobody but an administrator can have written: the
    // record lives in the user's part of the registry, which the user's
    // unelevated programs can set, and the manifest decides what this
    // elevated run downloads and starts.
    if (!config.manifest.standalone) {
        RecordedManifest recorded = GetRecordedManifestPath();
        if (recorded.usable && IsWritableByNonAdministrators(recorded.path)) {
            DebugTrace(L"PictoraSetup: the recorded manifest " + recorded.path +
                       L" can be changed by non-administrators; it is ignored.\r\n");
            recorded.usable = false;
        }
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
    // Names that would lead a download out of its working folder.
    std::wstring badName;
    if (!ManifestNamesSafe(config.manifest, badName)) {
        DebugTrace(L"PictoraSetup: the manifest's " + badName + L" is not a bare file name; refused.\r\n");
        return ConfigurationManifestUnusable;
    }
    // A digest that cannot be checked is refused, never passed over.
    std::wstring badRecord;
    if (!ManifestDigestsWellFormed(config.manifest, badRecord)) {
        DebugTrace(L"PictoraSetup: the manifest's sha256 of " + badRecord + L" is not 64 hex digits.\r\n");
        return ConfigurationManifestUnusable;
    }

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
