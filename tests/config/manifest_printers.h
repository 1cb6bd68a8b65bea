// Readable GoogleTest output for the manifest model, and the byte images
// in which the config tests write their XML files.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "config/product_manifest.h"

inline void PrintTo(const ReleaseEntry& entry, std::ostream* os)
{
    *os << "{productVersion=" << testing::PrintToString(entry.productVersion)
        << " minWebInstallerVersion=" << testing::PrintToString(entry.minWebInstallerVersion)
        << " webInstallerDownloadUrl=" << testing::PrintToString(entry.webInstallerDownloadUrl) << "}";
}

inline void PrintTo(const VersionDescriptor& info, std::ostream* os)
{
    *os << "{productCode=" << testing::PrintToString(info.productCode)
        << " freshInstall=" << testing::PrintToString(info.freshInstall)
        << " patchInstall=" << testing::PrintToString(info.patchInstall) << "}";
}

inline void PrintTo(const ManifestTransform& t, std::ostream* os)
{
    *os << "{langId=" << t.langId << " name=" << testing::PrintToString(t.name)
        << " fullUrl=" << testing::PrintToString(t.fullUrl) << "}";
}

inline void PrintTo(const ManifestLanguagePack& p, std::ostream* os)
{
    *os << "{langId=" << p.langId << " pid=" << testing::PrintToString(p.pid)
        << " name=" << testing::PrintToString(p.name) << " fullUrl=" << testing::PrintToString(p.fullUrl) << "}";
}

inline void PrintTo(const ManifestDependency& d, std::ostream* os)
{
    *os << "{name=" << testing::PrintToString(d.name) << " fullUrl=" << testing::PrintToString(d.fullUrl)
        << " installCommandLine=" << testing::PrintToString(d.installCommandLine) << "}";
}

inline void PrintTo(const ProductManifest& m, std::ostream* os)
{
    *os << "\n  webInstallerVersion=" << testing::PrintToString(m.webInstallerVersion)
        << "\n  productCode=" << testing::PrintToString(m.productCode)
        << "\n  pid=" << testing::PrintToString(m.pid)
        << "\n  fullName=" << testing::PrintToString(m.fullName)
        << "\n  shortName=" << testing::PrintToString(m.shortName)
        << "\n  registryKey=" << testing::PrintToString(m.registryKey)
        << "\n  standalone=" << m.standalone
        << "\n  standaloneVersion=" << testing::PrintToString(m.standaloneVersion)
        << "\n  versionCheckUrl=" << testing::PrintToString(m.versionCheckUrl)
        << "\n  versionInfo=" << testing::PrintToString(m.versionInfo)
        << "\n  mainComponentName=" << testing::PrintToString(m.mainComponentName)
        << "\n  mainComponentUrl=" << testing::PrintToString(m.mainComponentUrl)
        << "\n  languagePacks=" << testing::PrintToString(m.languagePacks)
        << "\n  dependencies=" << testing::PrintToString(m.dependencies)
        << "\n  transforms=" << testing::PrintToString(m.transforms)
        << "\n  mainComponentExecutable=" << testing::PrintToString(m.mainComponentExecutable) << "\n";
}

namespace config_test {

// UTF-16 code units as little- or big-endian bytes, without a byte-order mark.
inline std::string Utf16Bytes(const std::wstring& text, bool bigEndian)
{
    std::string bytes;
    for (wchar_t unit : text) {
        char low = static_cast<char>(unit & 0xFF);
        char high = static_cast<char>((unit >> 8) & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

}  // namespace config_test
