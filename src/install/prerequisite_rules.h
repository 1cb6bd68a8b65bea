// The prerequisite table and its three detection rules, on values already
// read from the registry (prerequisite_check reads them).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

enum class PrerequisiteRule {
    WebView2Runtime,
    VcRuntimeX64,
    AppleBonjour,
};

// The rule for a dependency's file name in the thread's ANSI code page:
// "webview2.exe", "vc_redist.exe" or "bonjour.msi", compared exactly (case
// included). Nothing for any other name: such a prerequisite is always
// installed.
std::optional<PrerequisiteRule> FindPrerequisiteRule(std::string_view narrowName);

// Where the rules read (HKLM unless named HKCU).
inline constexpr wchar_t kWebView2MachineKey[] =
    L"SOFTWARE\\WOW6432Node\\Microsoft\\EdgeUpdate\\Clients\\{F3017226-FE2A-4295-8BDF-00C3A9A7E4C5}";
inline constexpr wchar_t kWebView2UserKey[] =  // HKCU
    L"Software\\Microsoft\\EdgeUpdate\\Clients\\{F3017226-FE2A-4295-8BDF-00C3A9A7E4C5}";
inline constexpr wchar_t kWebView2VersionValue[] = L"pv";
inline constexpr wchar_t kVcRuntimeKey[] = L"SOFTWARE\\Wow6432Node\\Microsoft\\VisualStudio\\14.0\\VC\\Runtimes\\x64";
inline constexpr wchar_t kVcRuntimeMajorValue[] = L"Major";
inline constexpr wchar_t kVcRuntimeMinorValue[] = L"Minor";
inline constexpr wchar_t kVcRuntimeBuildValue[] = L"Bld";
inline constexpr wchar_t kBonjourKey[] = L"SOFTWARE\\Apple Inc.\\Bonjour";
inline constexpr wchar_t kBonjourVersionValue[] = L"Version";

// A recorded version string names an installed copy: it exists, is not
// empty and is not "0.0.0.0" (anything after "0.0.0.0" makes it differ).
bool IsRecordedVersionSet(const std::optional<std::wstring>& version);

// WebView2: present when the machine-wide or the per-user "pv" is set.
bool IsWebView2RuntimePresent(const std::optional<std::wstring>& machineVersion,
                              const std::optional<std::wstring>& userVersion);

// The numbers under the VC runtime's key; a value that cannot be read is 0.
struct VcRuntimeVersion {
    uint32_t major = 0;
    uint32_t minor = 0;
    uint32_t build = 0;
};
// VC 14 x64: present when its key exists and Major >= 14, Minor >= 24 and
// Bld >= 18127, each number compared on its own (so 15.0.1 is missing).
// Nothing: the key could not be opened.
bool IsVcRuntimePresent(const std::optional<VcRuntimeVersion>& version);

// Bonjour: present when its "Version" is set (nothing: key or value missing).
bool IsBonjourPresent(const std::optional<std::wstring>& version);
