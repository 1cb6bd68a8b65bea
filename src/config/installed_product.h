// What the registry and the Windows Installer know of an installed copy.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "config/installer_config.h"

// The installed version of `productCode` (MsiGetProductInfoW
// "VersionString"); empty when not installed or the query fails (a failure
// other than "unknown product" is shown to the user).
std::wstring QueryInstalledVersion(const std::wstring& productCode);

// Sets config.installedVersion; for an installed product sets
// existingInstall and takes the language recorded at its installation.
void DetectInstalledProduct(InstallerConfig& config, int& existingInstall);

struct RecordedManifest {
    std::wstring path;
    bool usable = false;  // not empty and names an existing file
};
// The manifest path that other software of the product recorded for us.
RecordedManifest GetRecordedManifestPath();

// Language identifiers of the installed language packs, in enumeration order.
std::vector<int32_t> ListInstalledLanguagePacks(const std::wstring& registryKey);

// Records a fresh installation (called by the post-install registration):
// "InstallDir" and "exe" of the product's main program under the manifest's
// registry key, and, for a language other than English chosen from an
// offered list, "InitialLangID", "ApplicationLanguage" and the companion
// program's "ResourceLangID" value. Every record is attempted; false when
// any write failed (each failure is traced with its key, value and code).
bool WriteInstallationRecords(const InstallerConfig& config);

// The installed product's main program as its "exe" record names it; empty
// unless that names an existing file.
std::wstring GetInstalledProgramPath(const std::wstring& registryKey);
