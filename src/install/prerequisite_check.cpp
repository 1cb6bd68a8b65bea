#include "install/prerequisite_check.h"

#include "config/registry_key.h"

namespace {

std::optional<std::string> ToThreadAnsi(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    int length = static_cast<int>(text.size());
    int size = WideCharToMultiByte(CP_THREAD_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return std::nullopt;
    std::string narrow(static_cast<size_t>(size), '\0');
    if (WideCharToMultiByte(CP_THREAD_ACP, 0, text.data(), length, narrow.data(), size, nullptr, nullptr) != size)
        return std::nullopt;
    return narrow;
}

}  // namespace

std::optional<std::wstring> ReadRecordedVersion(HKEY root, const std::wstring& keyPath, const std::wstring& valueName)
{
    RegistryKey key(root, keyPath, RegistryOpen::ReadOnly);
    return key.QueryString(valueName);
}

std::optional<VcRuntimeVersion> ReadVcRuntimeVersion(HKEY root, const std::wstring& keyPath)
{
    RegistryKey key(root, keyPath, RegistryOpen::ReadOnly);
    if (!key.CanRead())
        return std::nullopt;
    VcRuntimeVersion version;
    version.major = key.QueryNumber(kVcRuntimeMajorValue).value_or(0);
    version.minor = key.QueryNumber(kVcRuntimeMinorValue).value_or(0);
    version.build = key.QueryNumber(kVcRuntimeBuildValue).value_or(0);
    return version;
}

bool DetectPrerequisite(PrerequisiteRule rule)
{
    switch (rule) {
    case PrerequisiteRule::WebView2Runtime:
        return IsWebView2RuntimePresent(
            ReadRecordedVersion(HKEY_LOCAL_MACHINE, kWebView2MachineKey, kWebView2VersionValue),
            ReadRecordedVersion(HKEY_CURRENT_USER, kWebView2UserKey, kWebView2VersionValue));
    case PrerequisiteRule::VcRuntimeX64:
        return IsVcRuntimePresent(ReadVcRuntimeVersion(HKEY_LOCAL_MACHINE, kVcRuntimeKey));
    case PrerequisiteRule::AppleBonjour:
        return IsBonjourPresent(ReadRecordedVersion(HKEY_LOCAL_MACHINE, kBonjourKey, kBonjourVersionValue));
    }
    return false;
}

bool IsPrerequisitePresent(const ManifestDependency& dependency)
{
    std::optional<std::string> name = ToThreadAnsi(dependency.name);
    if (!name)
        return false;
    std::optional<PrerequisiteRule> rule = FindPrerequisiteRule(*name);
    return rule && DetectPrerequisite(*rule);
}
