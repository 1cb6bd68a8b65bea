// ParseVersion, IsNewerVersion and DecideVersionAction.
#include "config/version_rules.h"

#include <climits>
#include <cstdlib>
#include <vector>

#include "config/installer_config.h"
#include "config/run_flags.h"

namespace {

// One field as the C library reads decimal text (white space, a sign, the
// digits up to the first other character; none give 0), saturated to 32
// bits and then taken as an unsigned number, as a cast of the C result
// would take it.
uint32_t FieldValue(const std::wstring& field)
{
    long value = std::wcstol(field.c_str(), nullptr, 10);
    if (value > INT32_MAX)
        value = INT32_MAX;
    else if (value < INT32_MIN)
        value = INT32_MIN;
    return static_cast<uint32_t>(static_cast<int32_t>(value));
}

}  // namespace

ParsedVersion ParseVersion(const std::wstring& text)
{
    // Four non-empty fields take at least 7 units; shorter text is zeros.
    if (text.size() < 7)
        return {};
    std::vector<std::wstring> fields;
    size_t position = 0;
    while (position < text.size() && fields.size() <= 4) {
        size_t dot = text.find(L'.', position);
        if (dot == std::wstring::npos)
            dot = text.size();
        if (dot > position)
            fields.push_back(text.substr(position, dot - position));
        position = dot + 1;
    }
    if (fields.size() != 4)
        return {};
    return {FieldValue(fields[0]), FieldValue(fields[1]), FieldValue(fields[2]), FieldValue(fields[3])};
}

bool IsNewerVersion(const std::wstring& a, const std::wstring& b)
{
    ParsedVersion left = ParseVersion(a);
    ParsedVersion right = ParseVersion(b);
    return left.major == right.major && left.minor >= right.minor && left.fourth > right.fourth;
}

int32_t DecideVersionAction(const InstallerConfig& config, bool existingInstall)
{
    const ProductManifest& manifest = config.manifest;
    if (existingInstall) {
        if (!IsNewerVersion(manifest.standaloneVersion, config.installedVersion))
            return VersionAlreadyInstalled;
        if (manifest.standalone)
            return VersionContinue;
        return IsNewerVersion(manifest.versionInfo.patchInstall.minWebInstallerVersion, manifest.webInstallerVersion)
                   ? VersionClientTooOld
                   : VersionContinue;
    }
    if (manifest.standalone)
        return VersionContinue;
    return IsNewerVersion(manifest.versionInfo.freshInstall.minWebInstallerVersion, manifest.webInstallerVersion)
               ? VersionClientTooOld
               : VersionContinue;
}

int32_t DecideVersionAction()
{
    return DecideVersionAction(TheConfig(), TheRunFlags().existingInstall != 0);
}
