// Local file names of downloads: componentFolder followed by the name, with
// the millisecond tick count between them in a web package, so that every
// download gets a new file and an earlier one never gets in the way. A
// standalone package uses the bare names: its files already lie there.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

struct InstallerConfig;

// For TheConfig() and the current GetTickCount().
std::wstring MakeDownloadPath(const std::wstring& name);
std::wstring MakeLanguagePackPath(int32_t langId);  // "language_pack_<id>.exe"

// The same for a given configuration and tick; the tick is printed as a
// signed 32-bit decimal ("%s%d%s").
std::wstring MakeDownloadPath(const InstallerConfig& config, const std::wstring& name, DWORD tick);
std::wstring MakeLanguagePackPath(const InstallerConfig& config, int32_t langId, DWORD tick);
