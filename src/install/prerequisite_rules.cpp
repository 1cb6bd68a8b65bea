#include "install/prerequisite_rules.h"

#include <array>
#include <cwchar>

namespace {

struct PrerequisiteEntry {
    std::string_view name;
    PrerequisiteRule rule;
};

constexpr std::array<PrerequisiteEntry, 3> kPrerequisiteTable = {{
    {"webview2.exe", PrerequisiteRule::WebView2Runtime},
    {"vc_redist.exe", PrerequisiteRule::VcRuntimeX64},
    {"bonjour.msi", PrerequisiteRule::AppleBonjour},
}};

}  // namespace

std::optional<PrerequisiteRule> FindPrerequisiteRule(std::string_view narrowName)
{
    for (const PrerequisiteEntry& entry : kPrerequisiteTable)
        if (entry.name == narrowName)
            return entry.rule;
    return std::nullopt;
}

bool IsRecordedVersionSet(const std::optional<std::wstring>& version)
{
    if (!version || version->empty())
        return false;
    // Eight units: "0.0.0.0" and its terminator, so a longer text differs.
    return std::wcsncmp(version->c_str(), L"0.0.0.0", 8) != 0;
}

bool IsWebView2RuntimePresent(const std::optional<std::wstring>& machineVersion,
                              const std::optional<std::wstring>& userVersion)
{
    return IsRecordedVersionSet(machineVersion) || IsRecordedVersionSet(userVersion);
}

bool IsVcRuntimePresent(const std::optional<VcRuntimeVersion>& version)
{
    return version && version->major >= 14 && version->minor >= 24 && version->build >= 18127;
}

bool IsBonjourPresent(const std::optional<std::wstring>& version)
{
    return IsRecordedVersionSet(version);
}
