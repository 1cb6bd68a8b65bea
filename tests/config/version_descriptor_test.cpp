// LoadVersionDescriptor on descriptor files written into a temporary folder:
// the complete file, the forward-only order, fields kept from earlier
// values, the patch version that becomes standaloneVersion, and files that
// cannot be loaded.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "config/installer_config.h"
#include "config/manifest_printers.h"
#include "config/product_manifest.h"
#include "config/version_descriptor.h"
#include "support/process_helpers.h"

namespace {

using testing_support::TempDir;
using testing_support::WriteFileBytes;

// Writes `bytes` as "version.xml" and loads it into `manifest`.
bool LoadDescriptorBytes(const std::string& bytes, ProductManifest& manifest)
{
    TempDir dir;
    const std::wstring path = dir / L"version.xml";
    EXPECT_TRUE(WriteFileBytes(path, bytes));
    return LoadVersionDescriptor(path, manifest);
}

constexpr char kCompleteDescriptor[] = R"(<?xml version="1.0" encoding="utf-8"?>
<zylwebinstaller>
  <product_code>{6A1B8C52-3C1D-4E7F-9A20-1B2C3D4E5F60}</product_code>
  <fresh_install>
    <product_version>17.0.2.600</product_version>
    <min_web_installer_version>17.0.0.8</min_web_installer_version>
    <web_installer_download_url>https://updates.example.com/pm/fresh/PictoraSetup.exe</web_installer_download_url>
  </fresh_install>
  <patch_install>
    <product_version>17.0.2.601</product_version>
    <min_web_installer_version>17.0.0.10</min_web_installer_version>
    <web_installer_download_url>https://updates.example.com/pm/patch/PictoraSetup.exe</web_installer_download_url>
  </patch_install>
</zylwebinstaller>
)";

VersionDescriptor CompleteDescriptor()
{
    VersionDescriptor info;
    info.productCode = L"{6A1B8C52-3C1D-4E7F-9A20-1B2C3D4E5F60}";
    info.freshInstall = {L"17.0.2.600", L"17.0.0.8", L"https://updates.example.com/pm/fresh/PictoraSetup.exe"};
    info.patchInstall = {L"17.0.2.601", L"17.0.0.10", L"https://updates.example.com/pm/patch/PictoraSetup.exe"};
    return info;
}

// A manifest as the configuration holds it before any descriptor is read.
ProductManifest LocalManifest()
{
    ProductManifest m;
    m.webInstallerVersion = L"17.0.0.9";
    m.pid = L"PM170DE";
    m.standaloneVersion = L"17.0.1.500";
    m.versionCheckUrl = L"https://updates.example.com/pm/version.xml";
    m.mainComponentUrl = L"https://cdn.example.com/pm/PictoraMaxora.msi";
    return m;
}

TEST(VersionDescriptor, CompleteFileFillsTheDescriptorAndThePatchVersion)
{
    ProductManifest m = LocalManifest();
    ASSERT_TRUE(LoadDescriptorBytes(kCompleteDescriptor, m));

    ProductManifest expected = LocalManifest();
    expected.versionInfo = CompleteDescriptor();
    expected.standaloneVersion = L"17.0.2.601";  // the patch version, not the fresh one
    EXPECT_EQ(m, expected);
}

// Each case: a descriptor read into LocalManifest() with an earlier
// descriptor, and what must change; everything else keeps its value.
struct DescriptorCase {
    const char* what;
    std::string document;
    std::function<void(ProductManifest&)> expect;
};

ProductManifest EarlierState()
{
    ProductManifest m = LocalManifest();
    m.versionInfo.productCode = L"{EARLIER}";
    m.versionInfo.freshInstall = {L"f-version", L"f-min", L"f-url"};
    m.versionInfo.patchInstall = {L"p-version", L"p-min", L"p-url"};
    return m;
}

const DescriptorCase kDescriptorCases[] = {
    {"patch_install before fresh_install: fresh is read, patch keeps its values",
     "<zylwebinstaller><patch_install><product_version>17.0.3.1</product_version>"
     "<min_web_installer_version>17.0.0.99</min_web_installer_version></patch_install>"
     "<fresh_install><product_version>17.0.2.600</product_version>"
     "<min_web_installer_version>17.0.0.8</min_web_installer_version></fresh_install></zylwebinstaller>",
     [](ProductManifest& m) { m.versionInfo.freshInstall = {L"17.0.2.600", L"17.0.0.8", L"f-url"}; }},
    {"min_web_installer_version before product_version: the minimum is lost",
     "<zylwebinstaller><fresh_install><min_web_installer_version>17.0.0.8</min_web_installer_version>"
     "<product_version>17.0.2.600</product_version></fresh_install></zylwebinstaller>",
     [](ProductManifest& m) { m.versionInfo.freshInstall.productVersion = L"17.0.2.600"; }},
    {"download URL before the minimum: the minimum is read, the URL lost",
     "<zylwebinstaller><patch_install><web_installer_download_url>u</web_installer_download_url>"
     "<min_web_installer_version>17.0.0.8</min_web_installer_version></patch_install></zylwebinstaller>",
     [](ProductManifest& m) { m.versionInfo.patchInstall.minWebInstallerVersion = L"17.0.0.8"; }},
    {"product_code after fresh_install is read, and the blocks before it are lost",
     "<zylwebinstaller><fresh_install><product_version>17.0.2.600</product_version></fresh_install>"
     "<product_code>{NEW}</product_code><patch_install><product_version>17.0.2.601</product_version>"
     "</patch_install></zylwebinstaller>",
     [](ProductManifest& m) {
         m.versionInfo.productCode = L"{NEW}";
         m.versionInfo.patchInstall.productVersion = L"17.0.2.601";
         m.standaloneVersion = L"17.0.2.601";
     }},
    {"patch_install without product_version keeps standaloneVersion",
     "<zylwebinstaller><patch_install><min_web_installer_version>17.0.0.10</min_web_installer_version>"
     "</patch_install></zylwebinstaller>",
     [](ProductManifest& m) { m.versionInfo.patchInstall.minWebInstallerVersion = L"17.0.0.10"; }},
    {"fresh_install's product_version does not touch standaloneVersion",
     "<zylwebinstaller><fresh_install><product_version>18.0.0.1</product_version></fresh_install>"
     "</zylwebinstaller>",
     [](ProductManifest& m) { m.versionInfo.freshInstall.productVersion = L"18.0.0.1"; }},
    {"an empty patch version is still a found element",
     "<zylwebinstaller><patch_install><product_version></product_version></patch_install></zylwebinstaller>",
     [](ProductManifest& m) {
         m.versionInfo.patchInstall.productVersion = L"";
         m.standaloneVersion = L"";
     }},
    {"other elements are skipped, names match exactly, texts are decoded and untrimmed",
     "<zylwebinstaller><!-- c --><note/><Product_Code>x</Product_Code><product_code> {C} </product_code><x/>"
     "<Fresh_Install><product_version>bad</product_version></Fresh_Install>"
     "<fresh_install><y/><product_version>17.0.2.<![CDATA[600]]></product_version><z/>"
     "<web_installer_download_url>https://h/a?x=1&amp;y=2</web_installer_download_url></fresh_install>"
     "<patch_install><patch><product_version>nested</product_version></patch>"
     "<product_version>17.0.2.601</product_version></patch_install></zylwebinstaller>",
     [](ProductManifest& m) {
         m.versionInfo.productCode = L" {C} ";
         m.versionInfo.freshInstall.productVersion = L"17.0.2.600";
         m.versionInfo.freshInstall.webInstallerDownloadUrl = L"https://h/a?x=1&y=2";
         m.versionInfo.patchInstall.productVersion = L"17.0.2.601";
         m.standaloneVersion = L"17.0.2.601";
     }},
    {"an empty root stores nothing", "<zylwebinstaller/>", [](ProductManifest&) {}},
};

TEST(VersionDescriptor, OnlyFoundElementsOverwriteAndOnlyInReadingOrder)
{
    for (const DescriptorCase& c : kDescriptorCases) {
        SCOPED_TRACE(c.what);
        ProductManifest m = EarlierState();
        EXPECT_TRUE(LoadDescriptorBytes(c.document, m));
        ProductManifest expected = EarlierState();
        c.expect(expected);
        EXPECT_EQ(m, expected);
    }
}

// As the self-update check and then the pipeline read it: the second file's
// values replace the first's where it has them, the rest survive.
TEST(VersionDescriptor, ASecondFileKeepsWhatItLacks)
{
    ProductManifest m = LocalManifest();
    ASSERT_TRUE(LoadDescriptorBytes(kCompleteDescriptor, m));
    ASSERT_TRUE(LoadDescriptorBytes("<zylwebinstaller><patch_install>"
                                    "<min_web_installer_version>17.0.0.12</min_web_installer_version>"
                                    "</patch_install></zylwebinstaller>",
                                    m));
    VersionDescriptor expected = CompleteDescriptor();
    expected.patchInstall.minWebInstallerVersion = L"17.0.0.12";
    EXPECT_EQ(m.versionInfo, expected);
    EXPECT_EQ(m.standaloneVersion, L"17.0.2.601");
}

TEST(VersionDescriptor, UnloadableFileFailsAndStoresNothing)
{
    const std::string valid =
        "<zylwebinstaller><patch_install><product_version>9.9.9.9</product_version></patch_install>"
        "</zylwebinstaller>";
    const struct {
        const char* what;
        std::string bytes;
    } files[] = {
        {"a root of another name (an error page, say)",
         "<version><fresh_install><product_version>1.2.3.4</product_version></fresh_install></version>"},
        {"a descriptor of 2 MiB", valid + "<!--" + std::string(2 << 20, 'x') + "-->"},
        {"two top-level elements",
         "<zylwebinstaller><patch_install><product_version>9.9.9.9</product_version></patch_install>"
         "</zylwebinstaller><zylwebinstaller/>"},
        {"an unended start tag",
         "<zylwebinstaller><patch_install><product_version>9.9.9.9</patch_install></zylwebinstaller>"},
        {"an empty file", ""},
    };
    for (const auto& c : files) {
        SCOPED_TRACE(c.what);
        ProductManifest m = EarlierState();
        EXPECT_FALSE(LoadDescriptorBytes(c.bytes, m));
        EXPECT_EQ(m, EarlierState());
    }
    // Just under the limit, the same descriptor is read.
    ProductManifest m = EarlierState();
    std::string padded = valid + "<!--" + std::string((1 << 20) - valid.size() - 7, 'x') + "-->";
    ASSERT_EQ(padded.size(), size_t(1 << 20));
    EXPECT_TRUE(LoadDescriptorBytes(padded, m));
    EXPECT_EQ(m.standaloneVersion, L"9.9.9.9");

    TempDir dir;
    for (const std::wstring& path : {std::wstring(), dir / L"missing.xml", dir.Path()}) {
        SCOPED_TRACE(testing::PrintToString(path));
        ProductManifest m = EarlierState();
        EXPECT_FALSE(LoadVersionDescriptor(path, m));
        EXPECT_EQ(m, EarlierState());
    }
}

// A release may give the SHA-256 of its installer; one that is not 64 hex
// digits fails the check.
TEST(VersionDescriptor, InstallerDigestIsReadAndAMalformedOneFails)
{
    const std::string digest = "CD2DF694E424BC7968CC37F47751019E5CA0CD1BDF2E479EA537C3A1C32EE1AA";
    ProductManifest m = EarlierState();
    EXPECT_TRUE(LoadDescriptorBytes("<zylwebinstaller><fresh_install><product_version>1.0.0.1</product_version>"
                                    "<web_installer_download_url>u</web_installer_download_url><sha256>" +
                                        digest + "</sha256></fresh_install></zylwebinstaller>",
                                    m));
    EXPECT_EQ(m.versionInfo.freshInstall.webInstallerSha256, std::optional<std::wstring>(std::wstring(
                                                                 digest.begin(), digest.end())));
    EXPECT_EQ(m.versionInfo.patchInstall.webInstallerSha256, std::nullopt);
    for (const char* bad : {"", "12345", "zz2df694e424bc7968cc37f47751019e5ca0cd1bdf2e479ea537c3a1c32ee1aa"}) {
        SCOPED_TRACE(bad);
        ProductManifest failed = EarlierState();
        EXPECT_FALSE(LoadDescriptorBytes(std::string("<zylwebinstaller><patch_install><sha256>") + bad +
                                             "</sha256></patch_install></zylwebinstaller>",
                                         failed));
    }
}

// Without a model argument it reads into the process-wide configuration.
TEST(VersionDescriptor, ReadsIntoTheProcessWideConfiguration)
{
    ProductManifest saved = TheConfig().manifest;
    TheConfig().manifest = LocalManifest();

    TempDir dir;
    const std::wstring path = dir / L"version.xml";
    ASSERT_TRUE(WriteFileBytes(path, kCompleteDescriptor));
    const bool loaded = LoadVersionDescriptor(path);
    const ProductManifest result = TheConfig().manifest;
    TheConfig().manifest = saved;

    EXPECT_TRUE(loaded);
    EXPECT_EQ(result.versionInfo, CompleteDescriptor());
    EXPECT_EQ(result.standaloneVersion, L"17.0.2.601");
    EXPECT_EQ(result.pid, L"PM170DE");
}

}  // namespace
