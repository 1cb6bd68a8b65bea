// The records a fresh installation leaves in the registry, and the lookup
// of the installed main program that the self-update check launches.
#include <windows.h>
#include <shlwapi.h>

#include <string>

#include "base/debug_trace.h"
#include "config/installed_product.h"
#include "config/registry_key.h"
#include "config/registry_records.h"

using namespace registry_records;

namespace {

// Traces a failed write; true when it succeeded.
bool Written(LONG result, const std::wstring& key, const std::wstring& value)
{
    if (result == ERROR_SUCCESS)
        return true;
    DebugTraceFormat(L"PictoraSetup: registry record %s\\%s cannot be written (error %d).\r\n", key.c_str(),
                     value.c_str(), static_cast<int>(result));
    return false;
}

}  // namespace

bool WriteInstallationRecords(const InstallerConfig& config)
{
    bool all = true;
    // The main program's path, and its folder up to and including the last
    // backslash (so "bin\main.exe" gives a folder ending in "\bin\"). A
    // folder that still ends in a backslash (a drive root such as "D:\") is
    // not given a second one.
    std::wstring program = config.installFolder;
    if (program.empty() || program.back() != L'\\')
        program += L'\\';
    program += config.manifest.mainComponentExecutable;
    size_t lastSlash = program.rfind(L'\\');
    std::wstring folder = program.substr(0, lastSlash + 1);

    // A path whose only backslash comes first names no folder.
    bool programRecorded = lastSlash != 0;
    if (programRecorded) {
        const std::wstring& key = config.manifest.registryKey;
        RegistryKey productKey(HKEY_LOCAL_MACHINE, key);
        all = Written(productKey.SetString(kInstallDirValue, folder), key, kInstallDirValue) && all;
        all = Written(productKey.SetString(kProgramValue, program), key, kProgramValue) && all;
    }

    if (config.hasLanguageChoice != 1 || config.language.langId == kEnglishLanguage)
        return all;
    uint32_t language = static_cast<uint32_t>(config.language.langId);
    const std::wstring packsKey = config.manifest.registryKey + kLanguagePacksSubkey;
    RegistryKey languagePacks(HKEY_LOCAL_MACHINE, packsKey);
    all = Written(languagePacks.SetNumber(kInitialLanguageValue, language), packsKey, kInitialLanguageValue) && all;
    RegistryKey userProductKey(HKEY_CURRENT_USER, config.manifest.registryKey);
    all = Written(userProductKey.SetNumber(kApplicationLanguageValue, language), config.manifest.registryKey,
                  kApplicationLanguageValue) &&
          all;
    if (programRecorded) {
        RegistryKey resourceLanguages(HKEY_CURRENT_USER, kResourceLanguageKey);
        all = Written(resourceLanguages.SetString(folder + kCompanionProgram, std::to_wstring(config.language.langId)),
                      kResourceLanguageKey, folder + kCompanionProgram) &&
              all;
    }
    return all;
}

std::wstring GetInstalledProgramPath(const std::wstring& registryKey)
{
    RegistryKey productKey(HKEY_LOCAL_MACHINE, registryKey);
    std::wstring program = productKey.QueryString(kProgramValue).value_or(std::wstring());
    // A folder is not a program to launch.
    if (program.empty() || !PathFileExistsW(program.c_str()) || PathIsDirectoryW(program.c_str()))
        return std::wstring();
    return program;
}
