// The records a fresh installation leaves in the registry, and the lookup
// of the installed main program that the self-update check launches.
#include <windows.h>
#include <shlwapi.h>

#include <string>

#include "config/installed_product.h"
#include "config/registry_key.h"
#include "config/registry_records.h"

using namespace registry_records;

void WriteInstallationRecords(const InstallerConfig& config)
{
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
        RegistryKey productKey(HKEY_LOCAL_MACHINE, config.manifest.registryKey);
        productKey.SetString(kInstallDirValue, folder);
        productKey.SetString(kProgramValue, program);
    }

    if (config.hasLanguageChoice != 1 || config.language.langId == kEnglishLanguage)
        return;
    uint32_t language = static_cast<uint32_t>(config.language.langId);
    RegistryKey languagePacks(HKEY_LOCAL_MACHINE, config.manifest.registryKey + kLanguagePacksSubkey);
    languagePacks.SetNumber(kInitialLanguageValue, language);
    RegistryKey userProductKey(HKEY_CURRENT_USER, config.manifest.registryKey);
    userProductKey.SetNumber(kApplicationLanguageValue, language);
    if (programRecorded) {
        RegistryKey resourceLanguages(HKEY_CURRENT_USER, kResourceLanguageKey);
        resourceLanguages.SetString(folder + kCompanionProgram, std::to_wstring(config.language.langId));
    }
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
