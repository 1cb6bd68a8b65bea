// Pieces the benchmark programs share: a clock, text files, programs run
// to their end, and the sample product's manifest beside an installer.
#pragma once

#include <windows.h>

#include <string>

namespace bench {

// The product of the installation test fixtures.
inline constexpr wchar_t kProductCode[] = L"{7D3A1C52-4E8B-4B6F-9A21-5C0E3F6D8B41}";
inline constexpr char kRegistryKey[] = "SOFTWARE\\PictoraBench";

// Seconds on the performance counter.
double Now();

std::string Narrow(const std::wstring& text);
bool WriteText(const std::wstring& path, const std::string& text);

// Runs a command line and returns its exit code (-1: not started).
long RunWaited(std::wstring commandLine);

// msiexec of the system folder, in double quotes.
std::wstring Msiexec();

// Writes SETUP\config\manifest.xml: the sample product, its version check
// at BASEURL/version.xml and its package at BASEURL/pictora_maxora_1.msi.
bool WriteManifest(const std::wstring& setup, const std::wstring& baseUrl);

}  // namespace bench
