// LoadManifest: config\manifest.xml into a ProductManifest.
//
// The reader's searches only run forward from the element found last at a
// level, so the manifest lists its elements in the order they are asked for:
//
//   zylwebinstaller
//     web_installer_version, product_code, product
//   product
//     pid, full_name, short_name, registry, standalone, standalone_version,
//     version_check_url, main_component, language_pack*, dependency*
//   main_component   (read only when it has a "name")
//     name, executable, full_url, sha256, transform*
//   transform        lang_id (key), name, full_url, sha256
//   language_pack    lang_id (key), pid, name, full_url, sha256
//   dependency       name (key), full_url, install_commandline, sha256
//
// sha256 is optional everywhere: the SHA-256 of the record's file.
//
// A record's key element is looked for among all of its children; the other
// elements only after the key. A record without its key is skipped. Other
// elements are passed over, and a missing element leaves its field as it was.
#include "config/product_manifest.h"

#include <climits>
#include <cstdlib>

#include "base/sha256_digest.h"
#include "config/xml_fields.h"

namespace {

// "true" in any ASCII letter case; anything else (spaces included) is false.
bool IsTrueText(const std::wstring& text)
{
    static constexpr wchar_t kTrue[] = L"true";
    if (text.size() != 4)
        return false;
    for (size_t i = 0; i < 4; ++i) {
        wchar_t c = text[i];
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
        if (c != kTrue[i])
            return false;
    }
    return true;
}

// A language identifier as the C library reads decimal text: leading white
// space, an optional sign, digits up to the first other character; no digits
// give 0, and values beyond 32 bits saturate.
int32_t DecimalLangId(const std::wstring& text)
{
    long value = std::wcstol(text.c_str(), nullptr, 10);
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return static_cast<int32_t>(value);
}

// With the cursor on "main_component": its name, executable, URL and
// transforms. Nothing is read, and the cursor stays, when it has no "name".
void ReadMainComponent(xml::XmlReader& reader, ProductManifest& manifest)
{
    if (!reader.FindChildElement(L"name"))
        return;
    reader.EnterElement();
    manifest.mainComponentName = CurrentText(reader);
    ReadNextSibling(reader, L"executable", manifest.mainComponentExecutable);
    ReadNextSibling(reader, L"full_url", manifest.mainComponentUrl);
    ReadNextSibling(reader, L"sha256", manifest.mainComponentSha256);
    while (reader.FindElement(L"transform")) {
        if (!reader.FindChildElement(L"lang_id"))
            continue;
        ManifestTransform transform;
        reader.EnterElement();
        transform.langId = DecimalLangId(CurrentText(reader));
        ReadNextSibling(reader, L"name", transform.name);
        ReadNextSibling(reader, L"full_url", transform.fullUrl);
        ReadNextSibling(reader, L"sha256", transform.sha256);
        reader.LeaveElement();
        manifest.transforms.push_back(std::move(transform));
    }
    reader.LeaveElement();
}

// With the cursor inside "product" after the elements read so far: every
// following "language_pack", then every "dependency" after the last pack.
void ReadRecordLists(xml::XmlReader& reader, ProductManifest& manifest)
{
    while (reader.FindElement(L"language_pack")) {
        if (!reader.FindChildElement(L"lang_id"))
            continue;
        ManifestLanguagePack pack;
        reader.EnterElement();
        pack.langId = DecimalLangId(CurrentText(reader));
        ReadNextSibling(reader, L"pid", pack.pid);
        ReadNextSibling(reader, L"name", pack.name);
        ReadNextSibling(reader, L"full_url", pack.fullUrl);
        ReadNextSibling(reader, L"sha256", pack.sha256);
        reader.LeaveElement();
        manifest.languagePacks.push_back(std::move(pack));
    }
    while (reader.FindElement(L"dependency")) {
        if (!reader.FindChildElement(L"name"))
            continue;
        ManifestDependency dependency;
        reader.EnterElement();
        dependency.name = CurrentText(reader);
        ReadNextSibling(reader, L"full_url", dependency.fullUrl);
        ReadNextSibling(reader, L"install_commandline", dependency.installCommandLine);
        ReadNextSibling(reader, L"sha256", dependency.sha256);
        reader.LeaveElement();
        manifest.dependencies.push_back(std::move(dependency));
    }
}

}  // namespace

bool ManifestDigestsWellFormed(const ProductManifest& manifest, std::wstring& bad)
{
    auto wellFormed = [&bad](const std::optional<std::wstring>& digest, const std::wstring& what) {
        if (!digest || ParseSha256Digest(*digest))
            return true;
        bad = what;
        return false;
    };
    if (!wellFormed(manifest.mainComponentSha256, L"main_component " + manifest.mainComponentName))
        return false;
    for (const ManifestTransform& t : manifest.transforms) {
        if (!wellFormed(t.sha256, L"transform " + t.name))
            return false;
    }
    for (const ManifestLanguagePack& p : manifest.languagePacks) {
        if (!wellFormed(p.sha256, L"language_pack " + p.name))
            return false;
    }
    for (const ManifestDependency& d : manifest.dependencies) {
        if (!wellFormed(d.sha256, L"dependency " + d.name))
            return false;
    }
    return true;
}

bool LoadManifest(const std::wstring& path, ProductManifest& manifest)
{
    xml::XmlReader reader;
    reader.SetDocument();
    if (!reader.LoadFile(path))
        return false;

    if (!reader.FindElement(L"zylwebinstaller"))
        return true;
    ReadNextChild(reader, L"web_installer_version", manifest.webInstallerVersion);
    ReadNextChild(reader, L"product_code", manifest.productCode);

    if (!reader.FindChildElement(L"product"))
        return true;
    reader.EnterElement();
    ReadNextChild(reader, L"pid", manifest.pid);
    ReadNextChild(reader, L"full_name", manifest.fullName);
    ReadNextChild(reader, L"short_name", manifest.shortName);
    ReadNextChild(reader, L"registry", manifest.registryKey);
    if (reader.FindChildElement(L"standalone"))
        manifest.standalone = IsTrueText(reader.GetChildText());
    ReadNextChild(reader, L"standalone_version", manifest.standaloneVersion);
    ReadNextChild(reader, L"version_check_url", manifest.versionCheckUrl);

    // Inside "product", on the child found last (or before the first child
    // when none was), so the searches below continue after it.
    reader.EnterElement();
    if (reader.FindElement(L"main_component"))
        ReadMainComponent(reader, manifest);
    ReadRecordLists(reader, manifest);
    return true;
}
