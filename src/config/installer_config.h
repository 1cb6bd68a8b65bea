// InstallerConfig: everything the installer knows about what it installs,
// gathered once at start-up by LoadConfiguration and read without locks
// afterwards.
//
// Contents of config/:
//   product_manifest     the manifest model and LoadManifest (manifest_reader)
//   manifest_names       IsBareFileName: the component names a manifest may give
//   xml_fields           field-reading steps shared by the two XML readers
//   version_descriptor   the server's version.xml model and its reader
//   version_rules        ParseVersion, IsNewerVersion, DecideVersionAction
//   registry_key         RegistryKey: the registry records' reads and writes
//   registry_records     key paths and value names of those records
//   installed_product    installed-product detection, recorded manifest path,
//                        installed language packs; installed_product_records:
//                        the values written after a fresh installation
//   installer_config     this object and LoadConfiguration
//   run_flags            RunFlags: the run's command-line flags and
//                        existingInstall, set by start-up, read below it
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "config/product_manifest.h"
#include "i18n/language_resources.h"

struct InstallerConfig {
    std::wstring exeFolder;
    ProductManifest manifest;
    std::wstring installedVersion;
    std::wstring manifestPath;
    std::wstring componentFolder;
    std::wstring msiFolder;
    std::wstring transformFolder;
    std::wstring homePageUrl;
    LanguageResources language;
    int32_t hasLanguageChoice = 1;
    std::vector<LanguageOption> languages;
    std::wstring installFolder = L"C:\\Program Files\\ZYL Systems";
    int32_t associationLevel = 0;
};

// The process-wide configuration.
InstallerConfig& TheConfig();

// Result codes of LoadConfiguration.
enum ConfigurationResult : int {
    ConfigurationLoaded = 0,
    ConfigurationManifestUnusable = 1,
    ConfigurationFolderFailed = 2,
    ConfigurationNoExecutablePath = 3,
};

// Loads the configuration for the running executable.
int LoadConfiguration();
// The same for an executable at `exePath` (as GetModuleFileNameW gives it;
// empty = not available). `existingInstall` is the application's flag.
int LoadConfiguration(InstallerConfig& config, const std::wstring& exePath, int& existingInstall,
                      const std::wstring& requestedLanguage);
