// What an earlier installation left behind: the Windows Installer's record
// of the product code, the language it was installed in, the manifest that
// other software of the product recorded, and the installed language packs.
#include "config/installed_product.h"

#include <windows.h>
#include <msi.h>
#include <shlwapi.h>

#include <cwchar>

#include "base/notifier.h"
#include "config/registry_key.h"
#include "config/registry_records.h"

using namespace registry_records;

std::wstring QueryInstalledVersion(const std::wstring& productCode)
{
    wchar_t version[260] = {};
    DWORD length = 260;
    UINT result = MsiGetProductInfoW(productCode.c_str(), INSTALLPROPERTY_VERSIONSTRING, version, &length);
    if (result == ERROR_SUCCESS)
        return std::wstring(version, wcsnlen(version, 260));
    // An unknown product is simply not installed. Anything else (a malformed
    // product code, a version that does not fit) is shown.
    if (result != ERROR_UNKNOWN_PRODUCT) {
        wchar_t text[96];
        swprintf(text, 96, L"Failed to get installed product info, error code: %d", static_cast<int>(result));
        Notify(text, kApplicationName, MB_OK | MB_ICONEXCLAMATION);
    }
    return std::wstring();
}

void DetectInstalledProduct(InstallerConfig& config, int& existingInstall)
{
    config.installedVersion = QueryInstalledVersion(config.manifest.productCode);
    if (config.installedVersion.empty())
        return;
    existingInstall = 1;

    // The language the product was installed in wins over the one chosen
    // from the offered languages, even when it is not among them.
    RegistryKey languagePacks(HKEY_LOCAL_MACHINE, config.manifest.registryKey + kLanguagePacksSubkey);
    uint32_t language = languagePacks.QueryNumber(kInitialLanguageValue).value_or(kEnglishLanguage);
    if (language != kEnglishLanguage)
        config.language.langId = static_cast<int32_t>(language);
}

RecordedManifest GetRecordedManifestPath()
{
    RegistryKey key(HKEY_CURRENT_USER, kRecordedManifestKey);
    RecordedManifest recorded;
    recorded.path = key.QueryString(kRecordedManifestValue).value_or(std::wstring());
    // PathFileExistsW also finds a folder; the configuration load then fails
    // to read it as a manifest and keeps the local one.
    recorded.usable = !recorded.path.empty() && PathFileExistsW(recorded.path.c_str());
    return recorded;
}

std::vector<int32_t> ListInstalledLanguagePacks(const std::wstring& registryKey)
{
    RegistryKey key(HKEY_LOCAL_MACHINE, registryKey + kLanguagePacksSubkey);
    std::vector<std::wstring> names;
    key.EnumerateSubkeys(names);
    std::vector<int32_t> languages;
    for (const std::wstring& name : names) {
        // A name that is not a number counts as language 0.
        if (!name.empty())
            languages.push_back(static_cast<int32_t>(wcstol(name.c_str(), nullptr, 10)));
    }
    return languages;
}
