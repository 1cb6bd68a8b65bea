// The server's version descriptor ("version.xml") as read into the
// configuration: which installer builds the server still accepts and which
// product versions it offers for a fresh and for a patch installation.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct ProductManifest;

struct ReleaseEntry {
    std::wstring productVersion;
    std::wstring minWebInstallerVersion;
    std::wstring webInstallerDownloadUrl;
    // The SHA-256 of the installer behind webInstallerDownloadUrl, as written.
    std::optional<std::wstring> webInstallerSha256;

    bool operator==(const ReleaseEntry&) const = default;
};

struct VersionDescriptor {
    std::wstring productCode;
    ReleaseEntry freshInstall;
    ReleaseEntry patchInstall;

    bool operator==(const VersionDescriptor&) const = default;
};

// Reads the descriptor file at `path` into `manifest.versionInfo`; the patch
// installation's product version also replaces `manifest.standaloneVersion`.
// Only the fields whose elements are found are overwritten, so values of an
// earlier call survive a file that lacks them. False when the path is empty,
// names no existing file, is larger than kMaxVersionDescriptorBytes, cannot
// be loaded, or its root element is not "zylwebinstaller" (nothing is
// stored then), and when an installer's sha256 is not 64 hex digits (what
// was read before it is stored); true otherwise, whatever the file held.
inline constexpr uint64_t kMaxVersionDescriptorBytes = 1 << 20;
bool LoadVersionDescriptor(const std::wstring& path, ProductManifest& manifest);
// The same on the process-wide configuration's manifest.
bool LoadVersionDescriptor(const std::wstring& path);
