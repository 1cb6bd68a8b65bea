// LoadVersionDescriptor: the server's version.xml into the manifest model.
//
// Searches run forward only, so the file lists its elements in this order:
//
//   zylwebinstaller
//     product_code, fresh_install, patch_install
//   fresh_install, patch_install
//     product_version, min_web_installer_version, web_installer_download_url,
//     sha256 (optional: the SHA-256 of the installer at that URL)
//
// Only fields whose elements are found are written; the patch installation's
// product version also becomes the manifest's standaloneVersion, the version
// an installed copy is compared with.
#include "config/version_descriptor.h"

#include <windows.h>
#include <shlwapi.h>

#include "base/debug_trace.h"
#include "base/sha256_digest.h"
#include "config/installer_config.h"
#include "config/product_manifest.h"
#include "config/xml_fields.h"

namespace {
bool DigestWellFormed(const std::optional<std::wstring>& digest)
{
    return !digest || ParseSha256Digest(*digest);
}
}  // namespace

bool LoadVersionDescriptor(const std::wstring& path, ProductManifest& manifest)
{
    if (path.empty() || !PathFileExistsW(path.c_str()))
        return false;
    // The server's answer is read whole into memory: one far larger than
    // any descriptor is refused before that.
    WIN32_FILE_ATTRIBUTE_DATA file{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &file))
        return false;
    uint64_t size = (static_cast<uint64_t>(file.nFileSizeHigh) << 32) | file.nFileSizeLow;
    if (size > kMaxVersionDescriptorBytes) {
        DebugTraceFormat(L"PictoraSetup: the version descriptor is %d KiB, more than a descriptor can be; refused.\r\n",
                         static_cast<int>(size / 1024));
        return false;
    }
    xml::XmlReader reader;
    reader.SetDocument();
    if (!reader.LoadFile(path))
        return false;

    // A document of another kind (an error page, a captive portal's page)
    // is no answer to the version check.
    if (!reader.FindElement(L"zylwebinstaller")) {
        DebugTrace(L"PictoraSetup: the version descriptor's root is not \"zylwebinstaller\"; refused.\r\n");
        return false;
    }
    VersionDescriptor& info = manifest.versionInfo;
    ReadNextChild(reader, L"product_code", info.productCode);
    // Inside the root, on "product_code" (or before the first child), so the
    // blocks are looked for after it.
    reader.EnterElement();

    if (reader.FindElement(L"fresh_install")) {
        ReadNextChild(reader, L"product_version", info.freshInstall.productVersion);
        ReadNextChild(reader, L"min_web_installer_version", info.freshInstall.minWebInstallerVersion);
        ReadNextChild(reader, L"web_installer_download_url", info.freshInstall.webInstallerDownloadUrl);
        ReadNextChild(reader, L"sha256", info.freshInstall.webInstallerSha256);
        if (!DigestWellFormed(info.freshInstall.webInstallerSha256))
            return false;
    }
    if (reader.FindElement(L"patch_install")) {
        if (reader.FindChildElement(L"product_version")) {
            reader.EnterElement();
            std::wstring version = CurrentText(reader);
            reader.LeaveElement();
            info.patchInstall.productVersion = version;
            manifest.standaloneVersion = std::move(version);
        }
        ReadNextChild(reader, L"min_web_installer_version", info.patchInstall.minWebInstallerVersion);
        ReadNextChild(reader, L"web_installer_download_url", info.patchInstall.webInstallerDownloadUrl);
        ReadNextChild(reader, L"sha256", info.patchInstall.webInstallerSha256);
        if (!DigestWellFormed(info.patchInstall.webInstallerSha256))
            return false;
    }
    return true;
}

bool LoadVersionDescriptor(const std::wstring& path)
{
    return LoadVersionDescriptor(path, TheConfig().manifest);
}
