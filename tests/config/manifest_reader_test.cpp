// LoadManifest on manifests written into a temporary folder: the complete
// file, the forward-only order of every level, element texts, language
// identifiers, encodings, unreadable files, and copying a model.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>

#include "config/manifest_printers.h"
#include "config/product_manifest.h"
#include "support/process_helpers.h"

namespace {

using testing_support::TempDir;
using testing_support::WriteFileBytes;

struct LoadResult {
    bool loaded = false;
    ProductManifest manifest;
};

// Writes `bytes` as a manifest file and loads it into `manifest`.
bool LoadBytesInto(const std::string& bytes, ProductManifest& manifest)
{
    TempDir dir;
    const std::wstring path = dir / L"manifest.xml";
    EXPECT_TRUE(WriteFileBytes(path, bytes));
    return LoadManifest(path, manifest);
}

LoadResult LoadBytes(const std::string& bytes)
{
    LoadResult result;
    result.loaded = LoadBytesInto(bytes, result.manifest);
    return result;
}

// Wraps the children of "product" in a document with no other root data.
std::string ProductDocument(const std::string& productChildren)
{
    return "<zylwebinstaller><product>" + productChildren + "</product></zylwebinstaller>";
}

constexpr char kCompleteManifest[] = R"(<?xml version="1.0" encoding="utf-8"?>
<zylwebinstaller>
  <web_installer_version>17.0.0.5</web_installer_version>
  <product_code>{6A1B8C52-3C1D-4E7F-9A20-1B2C3D4E5F60}</product_code>
  <product>
    <pid>PM170DE</pid>
    <full_name>Pictora Maxora 17</full_name>
    <short_name>Pictora</short_name>
    <registry>SOFTWARE\ZYL Systems\Pictora Maxora\170</registry>
    <standalone>false</standalone>
    <standalone_version>17.0.1.500</standalone_version>
    <version_check_url>https://updates.example.com/pm/version.xml</version_check_url>
    <main_component>
      <name>PictoraMaxora.msi</name>
      <executable>bin\Pictora.exe</executable>
      <full_url>https://cdn.example.com/pm/PictoraMaxora.msi</full_url>
      <transform>
        <lang_id>1031</lang_id>
        <name>German</name>
        <full_url>https://cdn.example.com/pm/1031.mst</full_url>
      </transform>
      <transform>
        <lang_id>1036</lang_id>
        <name>French</name>
        <full_url>https://cdn.example.com/pm/1036.mst</full_url>
      </transform>
    </main_component>
    <language_pack>
      <lang_id>1031</lang_id>
      <pid>LP-DE</pid>
      <name>Deutsch</name>
      <full_url>https://cdn.example.com/pm/lp1031.exe</full_url>
    </language_pack>
    <language_pack>
      <lang_id>1041</lang_id>
      <pid>LP-JA</pid>
      <name>Japanese</name>
      <full_url>https://cdn.example.com/pm/lp1041.exe</full_url>
    </language_pack>
    <dependency>
      <name>VC14x64</name>
      <full_url>https://cdn.example.com/pm/vc_redist.x64.exe</full_url>
      <install_commandline>/install /quiet /norestart</install_commandline>
    </dependency>
    <dependency>
      <name>WebView2</name>
      <full_url>https://cdn.example.com/pm/MicrosoftEdgeWebview2Setup.exe</full_url>
      <install_commandline>/silent /install</install_commandline>
    </dependency>
  </product>
</zylwebinstaller>
)";

ProductManifest CompleteModel()
{
    ProductManifest m;
    m.webInstallerVersion = L"17.0.0.5";
    m.productCode = L"{6A1B8C52-3C1D-4E7F-9A20-1B2C3D4E5F60}";
    m.pid = L"PM170DE";
    m.fullName = L"Pictora Maxora 17";
    m.shortName = L"Pictora";
    m.registryKey = L"SOFTWARE\\ZYL Systems\\Pictora Maxora\\170";
    m.standalone = false;
    m.standaloneVersion = L"17.0.1.500";
    m.versionCheckUrl = L"https://updates.example.com/pm/version.xml";
    m.mainComponentName = L"PictoraMaxora.msi";
    m.mainComponentUrl = L"https://cdn.example.com/pm/PictoraMaxora.msi";
    m.languagePacks = {{1031, L"LP-DE", L"Deutsch", L"https://cdn.example.com/pm/lp1031.exe"},
                       {1041, L"LP-JA", L"Japanese", L"https://cdn.example.com/pm/lp1041.exe"}};
    m.dependencies = {
        {L"VC14x64", L"https://cdn.example.com/pm/vc_redist.x64.exe", L"/install /quiet /norestart"},
        {L"WebView2", L"https://cdn.example.com/pm/MicrosoftEdgeWebview2Setup.exe", L"/silent /install"}};
    m.transforms = {{1031, L"German", L"https://cdn.example.com/pm/1031.mst"},
                    {1036, L"French", L"https://cdn.example.com/pm/1036.mst"}};
    m.mainComponentExecutable = L"bin\\Pictora.exe";
    return m;
}

TEST(ManifestReader, CompleteManifestInOrderFillsEveryField)
{
    LoadResult result = LoadBytes(kCompleteManifest);
    ASSERT_TRUE(result.loaded);
    EXPECT_EQ(result.manifest, CompleteModel());
    EXPECT_EQ(result.manifest.versionInfo, VersionDescriptor{});
}

// Each case: a document and the model it must give (built from an empty
// one), compared as a whole so that a stray read shows as well.
struct OrderCase {
    const char* what;
    std::string document;
    std::function<void(ProductManifest&)> expect;
};

const OrderCase kOrderCases[] = {
    {"product_code before web_installer_version is lost",
     "<zylwebinstaller><product_code>{C}</product_code><web_installer_version>17.0.0.5</web_installer_version>"
     "<product><pid>P</pid></product></zylwebinstaller>",
     [](ProductManifest& m) {
         m.webInstallerVersion = L"17.0.0.5";
         m.pid = L"P";
     }},
    {"a missing element leaves the next search where it started",
     "<zylwebinstaller><product_code>{C}</product_code><product><registry>R</registry>"
     "<version_check_url>V</version_check_url></product></zylwebinstaller>",
     [](ProductManifest& m) {
         m.productCode = L"{C}";
         m.registryKey = L"R";
         m.versionCheckUrl = L"V";
     }},
    {"scalars out of order: each search starts after the last one found",
     ProductDocument("<registry>R</registry><pid>P</pid><short_name>S</short_name><full_name>F</full_name>"),
     [](ProductManifest& m) {
         m.pid = L"P";
         m.fullName = L"F";
     }},
    {"main_component before version_check_url is lost; packs after the URL are read",
     ProductDocument("<pid>P</pid><main_component><name>m.msi</name><full_url>u</full_url>"
                     "<transform><lang_id>1031</lang_id></transform></main_component>"
                     "<version_check_url>V</version_check_url><language_pack><lang_id>1036</lang_id></language_pack>"),
     [](ProductManifest& m) {
         m.pid = L"P";
         m.versionCheckUrl = L"V";
         m.languagePacks = {{1036, L"", L"", L""}};
     }},
    {"main_component: a transform before name is lost; full_url before executable is lost",
     ProductDocument("<main_component><transform><lang_id>1036</lang_id></transform><name>m.msi</name>"
                     "<full_url>u</full_url><executable>bin\\p.exe</executable>"
                     "<transform><lang_id>1031</lang_id><name>de</name><full_url>t</full_url></transform>"
                     "</main_component>"),
     [](ProductManifest& m) {
         m.mainComponentName = L"m.msi";
         m.mainComponentExecutable = L"bin\\p.exe";
         m.transforms = {{1031, L"de", L"t"}};
     }},
    {"main_component without name: nothing inside is read, packs after it are",
     ProductDocument("<main_component><Name>upper</Name><full_url>u</full_url><executable>e</executable>"
                     "<transform><lang_id>1031</lang_id></transform></main_component>"
                     "<language_pack><lang_id>1036</lang_id></language_pack>"),
     [](ProductManifest& m) { m.languagePacks = {{1036, L"", L"", L""}}; }},
    {"transform: key found anywhere, other elements only after it; a transform without key is skipped",
     ProductDocument("<main_component><name>m</name>"
                     "<transform><name>early</name><lang_id>1031</lang_id><full_url>t1</full_url></transform>"
                     "<transform><name>nokey</name><full_url>x</full_url></transform>"
                     "<transform><lang_id>1036</lang_id><name>fr</name></transform>"
                     "<transform><lang_id>2052</lang_id><full_url>t3</full_url><name>zh</name></transform>"
                     "</main_component>"),
     [](ProductManifest& m) {
         m.mainComponentName = L"m";
         m.transforms = {{1031, L"", L"t1"}, {1036, L"fr", L""}, {2052, L"zh", L""}};
     }},
    {"language_pack before main_component is lost; a pack's pid, name, full_url in order",
     ProductDocument("<language_pack><lang_id>1041</lang_id></language_pack><main_component><name>m</name>"
                     "</main_component>"
                     "<language_pack><lang_id>1031</lang_id><pid>LP-DE</pid><name>Deutsch</name>"
                     "<full_url>lp1</full_url></language_pack>"
                     "<language_pack><name>x</name><lang_id>1036</lang_id><full_url>lp2</full_url>"
                     "<pid>LP-FR</pid></language_pack>"
                     "<language_pack><pid>nokey</pid></language_pack>"),
     [](ProductManifest& m) {
         m.mainComponentName = L"m";
         m.languagePacks = {{1031, L"LP-DE", L"Deutsch", L"lp1"}, {1036, L"LP-FR", L"", L""}};
     }},
    {"dependencies come after the last pack; one without name is skipped",
     ProductDocument("<language_pack><lang_id>1031</lang_id></language_pack><dependency><name>lost</name></dependency>"
                     "<language_pack><lang_id>1036</lang_id></language_pack>"
                     "<dependency><full_url>nokey</full_url></dependency>"
                     "<dependency><name>VC14</name><full_url>d1</full_url>"
                     "<install_commandline>/q</install_commandline></dependency>"
                     "<dependency><install_commandline>/s</install_commandline><name>Bonjour</name>"
                     "<full_url>d2</full_url></dependency>"),
     [](ProductManifest& m) {
         m.languagePacks = {{1031, L"", L"", L""}, {1036, L"", L"", L""}};
         m.dependencies = {{L"VC14", L"d1", L"/q"}, {L"Bonjour", L"d2", L""}};
     }},
    {"without packs, dependencies come after the element found last",
     ProductDocument("<pid>P</pid><dependency><name>early</name></dependency>"
                     "<version_check_url>V</version_check_url><dependency><name>WebView2</name></dependency>"),
     [](ProductManifest& m) {
         m.pid = L"P";
         m.versionCheckUrl = L"V";
         m.dependencies = {{L"WebView2", L"", L""}};
     }},
    {"duplicates stay in the list in file order",
     ProductDocument("<main_component><name>m</name>"
                     "<transform><lang_id>1031</lang_id><name>a</name></transform>"
                     "<transform><lang_id>1031</lang_id><name>b</name></transform></main_component>"
                     "<language_pack><lang_id>1036</lang_id><name>p1</name></language_pack>"
                     "<language_pack><lang_id>1036</lang_id><name>p2</name></language_pack>"
                     "<dependency><name>VC14</name><full_url>1</full_url></dependency>"
                     "<dependency><name>VC14</name><full_url>2</full_url></dependency>"),
     [](ProductManifest& m) {
         m.mainComponentName = L"m";
         m.transforms = {{1031, L"a", L""}, {1031, L"b", L""}};
         m.languagePacks = {{1036, L"", L"p1", L""}, {1036, L"", L"p2", L""}};
         m.dependencies = {{L"VC14", L"1", L""}, {L"VC14", L"2", L""}};
     }},
    {"other elements, comments and instructions are skipped; names match exactly",
     R"(<?xml version="1.0"?><!-- head --><!DOCTYPE zylwebinstaller>
        <zylwebinstaller><note>n</note><web_installer_version>17.0.0.5</web_installer_version>
        <Product_Code>upper</Product_Code><product_code_old>old</product_code_old><product_code>{C}</product_code>
        <Product><pid>upper</pid></Product>
        <product><extra><pid>nested</pid></extra><?pi x?><pid>P</pid><full_name_old>x</full_name_old>
          <full_name>F</full_name><!-- c --><main_component><junk/><name>m</name><x/>
          <transform><y/><lang_id>1031</lang_id><z/><name>de</name></transform><z/>
          <transform><lang_id>1036</lang_id></transform></main_component><foo/>
          <language_pack><lang_id>1031</lang_id></language_pack><bar/>
          <language_pack><lang_id>1036</lang_id></language_pack><dependencies/>
          <dependency><name>VC14</name></dependency></product></zylwebinstaller>)",
     [](ProductManifest& m) {
         m.webInstallerVersion = L"17.0.0.5";
         m.productCode = L"{C}";
         m.pid = L"P";
         m.fullName = L"F";
         m.mainComponentName = L"m";
         m.transforms = {{1031, L"de", L""}, {1036, L"", L""}};
         m.languagePacks = {{1031, L"", L"", L""}, {1036, L"", L"", L""}};
         m.dependencies = {{L"VC14", L"", L""}};
     }},
    {"a root of another name gives an empty model",
     "<webinstaller><web_installer_version>1</web_installer_version><product><pid>P</pid></product></webinstaller>",
     [](ProductManifest&) {}},
    {"an empty root gives an empty model", "<zylwebinstaller/>", [](ProductManifest&) {}},
    {"without product only the root's own elements are read",
     "<zylwebinstaller><web_installer_version>17.0.0.5</web_installer_version><pid>P</pid>"
     "<main_component><name>m</name></main_component></zylwebinstaller>",
     [](ProductManifest& m) { m.webInstallerVersion = L"17.0.0.5"; }},
};

TEST(ManifestReader, ElementsAreFoundOnlyInReadingOrder)
{
    for (const OrderCase& c : kOrderCases) {
        SCOPED_TRACE(c.what);
        LoadResult result = LoadBytes(c.document);
        EXPECT_TRUE(result.loaded);
        ProductManifest expected;
        c.expect(expected);
        EXPECT_EQ(result.manifest, expected);
    }
}

// Element texts reach every kind of field as the reader gives them:
// references decoded, CDATA literal, nothing trimmed, empty with children.
TEST(ManifestReader, ValuesAreElementTextsAsTheReaderGivesThem)
{
    const struct {
        const char* markup;
        std::wstring text;
    } cases[] = {
        {"A &amp; B", L"A & B"},
        {"&#x41;&#66;&lt;&gt;", L"AB<>"},
        {"<![CDATA[a<b>&amp;c]]>", L"a<b>&amp;c"},
        {"x<!-- note -->y", L"xy"},
        {" \t two  words \t ", L" \t two  words \t "},
        {"<b>child</b>", L""},
        {"", L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.markup);
        const std::string v = c.markup;
        LoadResult result = LoadBytes(ProductDocument(
            "<full_name>" + v + "</full_name><version_check_url>" + v + "</version_check_url>"
            "<main_component><name>" + v + "</name><executable>" + v + "</executable>"
            "<transform><lang_id>1031</lang_id><full_url>" + v + "</full_url></transform></main_component>"
            "<language_pack><lang_id>1036</lang_id><pid>" + v + "</pid></language_pack>"
            "<dependency><name>" + v + "</name><install_commandline>" + v + "</install_commandline></dependency>"));
        ASSERT_TRUE(result.loaded);
        const ProductManifest& m = result.manifest;
        EXPECT_EQ(m.fullName, c.text);
        EXPECT_EQ(m.versionCheckUrl, c.text);
        EXPECT_EQ(m.mainComponentName, c.text);
        EXPECT_EQ(m.mainComponentExecutable, c.text);
        ASSERT_EQ(m.transforms.size(), 1u);
        EXPECT_EQ(m.transforms[0].fullUrl, c.text);
        ASSERT_EQ(m.languagePacks.size(), 1u);
        EXPECT_EQ(m.languagePacks[0].pid, c.text);
        ASSERT_EQ(m.dependencies.size(), 1u);
        EXPECT_EQ(m.dependencies[0].name, c.text);
        EXPECT_EQ(m.dependencies[0].installCommandLine, c.text);
    }
}

// The language identifier is read as the C library reads decimal text, in
// transforms and language packs alike; the record is kept whatever it holds.
TEST(ManifestReader, LangIdIsReadAsDecimalTextAndTheRecordIsKept)
{
    const struct {
        const char* markup;
        int32_t langId;
    } cases[] = {
        {"1031", 1031},
        {" 1031", 1031},
        {" 1031x", 1031},
        {"\t\r\n2052", 2052},
        {"+1036", 1036},
        {"-5", -5},
        {"10 31", 10},
        {"0x10", 0},
        {"abc", 0},
        {"", 0},
        {"&#49;031", 1031},
        {"<![CDATA[1041]]>", 1041},
        {"99999999999", INT32_MAX},
        {"-99999999999", INT32_MIN},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.markup);
        const std::string v = c.markup;
        LoadResult result = LoadBytes(ProductDocument(
            "<main_component><name>m</name><transform><lang_id>" + v + "</lang_id><name>t</name></transform>"
            "</main_component><language_pack><lang_id>" + v + "</lang_id><name>p</name></language_pack>"));
        ASSERT_TRUE(result.loaded);
        const ProductManifest& m = result.manifest;
        EXPECT_EQ(m.transforms, (std::vector<ManifestTransform>{{c.langId, L"t", L""}}));
        EXPECT_EQ(m.languagePacks, (std::vector<ManifestLanguagePack>{{c.langId, L"", L"p", L""}}));
    }
}

// "true" in any letter case sets the flag, any other text clears it, and
// without the element it keeps the value it had.
TEST(ManifestReader, StandaloneIsTrueOnlyForTheTextTrue)
{
    const struct {
        const char* markup;  // null: no "standalone" element
        bool standalone;
    } cases[] = {
        {"true", true},   {"TRUE", true},   {"tRuE", true},      {"<![CDATA[True]]>", true},
        {"tru&#101;", true}, {"1", false},  {"yes", false},      {" true", false},
        {"true ", false}, {"false", false}, {"", false},         {"<b>true</b>", false},
        {"tru", false},   {"truex", false},
    };
    for (bool before : {false, true}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.markup) + (before ? " (was true)" : " (was false)"));
            ProductManifest m;
            m.standalone = before;
            ASSERT_TRUE(LoadBytesInto(ProductDocument(std::string("<pid>P</pid><standalone>") + c.markup +
                                                      "</standalone><standalone_version>17.0.0.1</standalone_version>"),
                                      m));
            EXPECT_EQ(m.standalone, c.standalone);
            EXPECT_EQ(m.standaloneVersion, L"17.0.0.1");
        }
        SCOPED_TRACE(before ? "no element (was true)" : "no element (was false)");
        ProductManifest m;
        m.standalone = before;
        ASSERT_TRUE(LoadBytesInto(ProductDocument("<pid>P</pid><standalone_version>17.0.0.1</standalone_version>"), m));
        EXPECT_EQ(m.standalone, before);
    }
}

// Loading into a model that already holds data: found fields are replaced,
// missing ones keep their values, and the lists are appended to.
TEST(ManifestReader, LoadingIntoAFilledModelReplacesFoundFieldsAndAppendsRecords)
{
    ProductManifest m = CompleteModel();
    m.versionInfo.productCode = L"{FROM-SERVER}";
    ASSERT_TRUE(LoadBytesInto(
        ProductDocument("<full_name>Other Name</full_name><main_component><name>other.msi</name>"
                        "<transform><lang_id>1041</lang_id></transform></main_component>"
                        "<dependency><name>Bonjour</name></dependency>"),
        m));

    ProductManifest expected = CompleteModel();
    expected.versionInfo.productCode = L"{FROM-SERVER}";
    expected.fullName = L"Other Name";
    expected.mainComponentName = L"other.msi";
    expected.transforms.push_back({1041, L"", L""});
    expected.dependencies.push_back({L"Bonjour", L"", L""});
    EXPECT_EQ(m, expected);
}

TEST(ManifestReader, AnyEncodingTheReaderAcceptsGivesTheSameModel)
{
    const std::wstring text =
        L"<?xml version=\"1.0\"?><zylwebinstaller><product><pid>PM170JA</pid>"
        L"<full_name>Pictora Gr\u00F6\u00DFe \u753B\u50CF</full_name></product></zylwebinstaller>";
    const std::string utf8 =
        "<?xml version=\"1.0\"?><zylwebinstaller><product><pid>PM170JA</pid>"
        "<full_name>Pictora Gr\xC3\xB6\xC3\x9F" "e \xE7\x94\xBB\xE5\x83\x8F</full_name></product></zylwebinstaller>";
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"UTF-16LE with byte-order mark", "\xFF\xFE" + config_test::Utf16Bytes(text, false)},
        {"UTF-16BE with byte-order mark", "\xFE\xFF" + config_test::Utf16Bytes(text, true)},
        {"UTF-8 with byte-order mark", "\xEF\xBB\xBF" + utf8},
        {"UTF-8 without byte-order mark", utf8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        LoadResult result = LoadBytes(c.bytes);
        ASSERT_TRUE(result.loaded);
        EXPECT_EQ(result.manifest.pid, L"PM170JA");
        EXPECT_EQ(result.manifest.fullName, L"Pictora Gr\u00F6\u00DFe \u753B\u50CF");
    }
}

// A file that cannot be read or is not well-formed: false, and the model
// keeps exactly what it held.
TEST(ManifestReader, UnreadableOrIllFormedFileFailsAndLeavesTheModelUntouched)
{
    const struct {
        const char* what;
        const char* bytes;
    } cases[] = {
        {"two top-level elements",
         "<zylwebinstaller><product><pid>X</pid></product></zylwebinstaller><other/>"},
        {"an unended start tag",
         "<zylwebinstaller><product><pid>X</pid><registry>R</product></zylwebinstaller>"},
        {"a lone end tag", "<zylwebinstaller><product><pid>X</pid></product></stray></zylwebinstaller>"},
        {"no element at all", "just text"},
        {"an empty file", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ProductManifest m = CompleteModel();
        EXPECT_FALSE(LoadBytesInto(c.bytes, m));
        EXPECT_EQ(m, CompleteModel());
    }

    TempDir dir;
    for (const std::wstring& path : {dir / L"missing.xml", dir / L"no-folder\\manifest.xml", dir.Path()}) {
        SCOPED_TRACE(testing::PrintToString(path));
        ProductManifest m = CompleteModel();
        EXPECT_FALSE(LoadManifest(path, m));
        EXPECT_EQ(m, CompleteModel());
    }
}

// Copy assignment, as the configuration uses it to let a second manifest
// replace the first: every field, the lists exactly as the source has them.
TEST(ManifestReader, CopyAssignmentReplacesEveryField)
{
    ProductManifest source = CompleteModel();
    source.transforms = {{1031, L"de", L"1"}, {1036, L"fr", L"2"}, {1041, L"ja", L"3"}};
    source.standalone = false;
    source.versionInfo.productCode = L"{SOURCE}";
    source.versionInfo.patchInstall.productVersion = L"17.0.2.600";

    ProductManifest target;
    target.webInstallerVersion = L"16.0.0.1";
    target.productCode = L"{TARGET}";
    target.pid = L"OLD";
    target.fullName = L"old full";
    target.shortName = L"old short";
    target.registryKey = L"old key";
    target.standalone = true;
    target.standaloneVersion = L"16.0.0.9";
    target.versionCheckUrl = L"old url";
    target.versionInfo.freshInstall.minWebInstallerVersion = L"16.0.0.1";
    target.mainComponentName = L"old.msi";
    target.mainComponentUrl = L"old msi url";
    target.languagePacks = {{1, L"a", L"b", L"c"}, {2, L"d", L"e", L"f"}, {3, L"g", L"h", L"i"}};
    target.dependencies = {{L"x", L"y", L"z"}};
    for (int32_t i = 0; i < 5; ++i)
        target.transforms.push_back({2000 + i, L"old", L"old"});
    target.mainComponentExecutable = L"old.exe";

    target = source;
    EXPECT_EQ(target, source);
    EXPECT_FALSE(target.standalone);
    EXPECT_EQ(target.versionInfo.freshInstall.minWebInstallerVersion, L"");
    EXPECT_EQ(target.transforms, (std::vector<ManifestTransform>{{1031, L"de", L"1"}, {1036, L"fr", L"2"},
                                                                 {1041, L"ja", L"3"}}));

    // An empty model replaces the lists by empty ones.
    target = ProductManifest{};
    EXPECT_EQ(target, ProductManifest{});

    // Assigning a model to itself changes nothing.
    ProductManifest self = CompleteModel();
    ProductManifest& alias = self;
    self = alias;
    EXPECT_EQ(self, CompleteModel());
}

// Each downloadable record may end with its file's SHA-256; the text is
// kept as written, and only a record that has the element gets a value.
TEST(ManifestReader, Sha256OfEachRecordIsReadWhereGiven)
{
    const std::string digest(64, 'a');
    LoadResult r = LoadBytes(ProductDocument(
        "<main_component><name>m.msi</name><full_url>u</full_url><sha256>" + digest + "</sha256>"
        "<transform><lang_id>1031</lang_id><name>de</name><full_url>t</full_url><sha256>T</sha256></transform>"
        "<transform><lang_id>1036</lang_id><name>fr</name><full_url>t2</full_url></transform></main_component>"
        "<language_pack><lang_id>1031</lang_id><pid>p</pid><name>n</name><full_url>l</full_url><sha256></sha256>"
        "</language_pack>"
        "<dependency><name>d</name><full_url>x</full_url><install_commandline>/q</install_commandline>"
        "<sha256>D</sha256></dependency>"));
    ASSERT_TRUE(r.loaded);
    const ProductManifest& m = r.manifest;
    EXPECT_EQ(m.mainComponentSha256, std::optional<std::wstring>(std::wstring(64, L'a')));
    ASSERT_EQ(m.transforms.size(), 2u);
    EXPECT_EQ(m.transforms[0].sha256, std::optional<std::wstring>(L"T"));
    EXPECT_EQ(m.transforms[1].sha256, std::nullopt);
    ASSERT_EQ(m.languagePacks.size(), 1u);
    EXPECT_EQ(m.languagePacks[0].sha256, std::optional<std::wstring>(L""));
    ASSERT_EQ(m.dependencies.size(), 1u);
    EXPECT_EQ(m.dependencies[0].sha256, std::optional<std::wstring>(L"D"));
    EXPECT_EQ(m.dependencies[0].installCommandLine, L"/q");
}

// A digest that is there must be 64 hex digits, in any letter case.
TEST(ManifestReader, DigestsMustBeSixtyFourHexDigits)
{
    const std::wstring good = L"cd2df694e424bc7968cc37f47751019e5ca0cd1bdf2e479ea537c3a1c32ee1aa";
    std::wstring upper = good;
    for (wchar_t& c : upper)
        c = static_cast<wchar_t>(towupper(c));
    struct Case {
        const char* what;
        std::optional<std::wstring> digest;
        bool wellFormed;
    };
    const Case cases[] = {
        {"absent", std::nullopt, true},
        {"lower case", good, true},
        {"upper case", upper, true},
        {"empty", L"", false},
        {"63 digits", good.substr(1), false},
        {"65 digits", good + L"0", false},
        {"a letter past f", L"g" + good.substr(1), false},
        {"blanks around", L" " + good + L" ", false},
        {"prefixed", L"0x" + good.substr(2), false},
    };
    const std::wstring kinds[] = {L"main_component m.msi", L"transform de", L"language_pack lp.exe",
                                  L"dependency vc.exe"};
    for (const Case& c : cases) {
        for (const std::wstring& kind : kinds) {
            SCOPED_TRACE(std::string(c.what) + " in " + std::string(kind.begin(), kind.end()));
            ProductManifest m;
            m.mainComponentName = L"m.msi";
            m.transforms = {{1031, L"de", L"t"}};
            m.languagePacks = {{1031, L"p", L"lp.exe", L"l"}};
            m.dependencies = {{L"vc.exe", L"x", L""}};
            if (kind == kinds[0])
                m.mainComponentSha256 = c.digest;
            else if (kind == kinds[1])
                m.transforms[0].sha256 = c.digest;
            else if (kind == kinds[2])
                m.languagePacks[0].sha256 = c.digest;
            else
                m.dependencies[0].sha256 = c.digest;
            std::wstring bad;
            EXPECT_EQ(ManifestDigestsWellFormed(m, bad), c.wellFormed);
            EXPECT_EQ(bad, c.wellFormed ? L"" : kind);
        }
    }
}

}  // namespace
