// Installed-product detection, the recorded manifest, the language-pack list
// and the records of a fresh installation, against the real registry and the
// real Windows Installer: a small package built by wixl is installed into
// the prefix for these tests and removed at the end.
#include "config/installed_product.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "support/registry_test_support.h"
#include "support/process_helpers.h"

using namespace registry_test;
using testing_support::BinaryDir;
using testing_support::RunProcess;
using testing_support::TempDir;
using testing_support::WriteFileBytes;

namespace {

// The product code and version of tests/config/fixtures/detection_product.wxs.
const std::wstring kPackageCode = L"{5B1E7C2A-9D43-4F6E-A8B1-3C0D2E7F9A14}";
const std::wstring kPackageVersion = L"17.0.2.5";
const std::wstring kUnknownCode = L"{6F0C2B1D-3A4E-4C5F-9B8A-7D6E5F4A3B2C}";

const wchar_t kRecordedManifestKey[] = L"SOFTWARE\\ZYL Systems\\Pictora Maxora\\170";
const wchar_t kResourceLangIdKey[] = L"SOFTWARE\\ZYL Systems\\ResourceLangID";

long RemovePackage()
{
    return RunProcess(testing_support::MsiexecCommand() + L" /x " + kPackageCode + L" /qn", 180000);
}

// Installs the package once for the tests that need it and removes it at
// the end; the exit codes are read inside Wine.
class InstalledPackage : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        NotifyRecorder quiet;
        if (!QueryInstalledVersion(kPackageCode).empty())
            RemovePackage();  // left behind by an interrupted run
        std::wstring package = BinaryDir() + L"\\fixtures\\detection_product.msi";
        installResult_ = RunProcess(testing_support::MsiexecCommand() + L" /i \"" + package + L"\" /qn", 180000);
    }
    static void TearDownTestSuite()
    {
        if (installResult_ == 0) {
            EXPECT_EQ(RemovePackage(), 0);
        }
        NotifyRecorder quiet;
        EXPECT_EQ(QueryInstalledVersion(kPackageCode), L"");
    }
    void SetUp() override { ASSERT_EQ(installResult_, 0) << "msiexec /i of the detection package"; }

    NotifyRecorder notifications_;
    static long installResult_;
};
long InstalledPackage::installResult_ = -1;

TEST_F(InstalledPackage, VersionOfAnInstalledProduct)
{
    EXPECT_EQ(QueryInstalledVersion(kPackageCode), kPackageVersion);
    EXPECT_TRUE(notifications_.boxes.empty());
    // The package really went in: its one file is in its folder.
    wchar_t programFiles[MAX_PATH];
    ASSERT_GT(ExpandEnvironmentStringsW(L"%ProgramW6432%", programFiles, MAX_PATH), 0u);
    EXPECT_TRUE(testing_support::FileExists(std::wstring(programFiles) + L"\\ZYL Systems Test\\detection_product.txt"));
}

TEST_F(InstalledPackage, DetectionTakesTheRecordedLanguage)
{
    // The language list chose German from {English, German}; what the
    // installed product recorded decides, offered or not.
    struct Case {
        const char* what;
        std::optional<RawValue> initialLangId;
        int32_t langId;
    } cases[] = {
        {"French recorded", RawValue{REG_DWORD, NumberBytes(1036)}, 1036},
        {"English recorded", RawValue{REG_DWORD, NumberBytes(1033)}, 1031},
        {"nothing recorded", std::nullopt, 1031},
        {"four bytes stored as a string", RawValue{REG_SZ, NumberBytes(1041)}, 1041},
        {"a number's text is no number", RawValue{REG_SZ, TextBytes(std::wstring(L"1036", 5))}, 1031},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScopedTestKey product(HKEY_LOCAL_MACHINE, TestKeyPath());
        if (c.initialLangId) {
            ASSERT_EQ(WriteRaw(HKEY_LOCAL_MACHINE, product.Path() + L"\\LanguagePacks", L"InitialLangID",
                               c.initialLangId->type, c.initialLangId->bytes),
                      ERROR_SUCCESS);
        }
        InstallerConfig config;
        config.manifest.productCode = kPackageCode;
        config.manifest.registryKey = product.Path();
        config.language.langId = 1031;
        config.languages = {{L"English", 1033}, {L"Deutsch", 1031}};
        int existingInstall = 0;

        DetectInstalledProduct(config, existingInstall);

        EXPECT_EQ(config.installedVersion, kPackageVersion);
        EXPECT_EQ(existingInstall, 1);
        EXPECT_EQ(config.language.langId, c.langId);
        EXPECT_EQ(config.languages.size(), 2u);
        EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, product.Path() + L"\\LanguagePacks"));
    }
    EXPECT_TRUE(notifications_.boxes.empty());
}

class InstalledProductTest : public testing::Test {
protected:
    NotifyRecorder notifications_;
};

TEST_F(InstalledProductTest, VersionQueryFailures)
{
    struct Case {
        std::wstring productCode;
        std::optional<int> shownError;  // nothing: silent
    } cases[] = {
        {kUnknownCode, std::nullopt},
        {L"not-a-product-code", ERROR_INVALID_PARAMETER},
        {L"5B1E7C2A-9D43-4F6E-A8B1-3C0D2E7F9A14", ERROR_INVALID_PARAMETER},  // no braces
        {L"", ERROR_INVALID_PARAMETER},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.productCode.begin(), c.productCode.end()));
        notifications_.boxes.clear();
        EXPECT_EQ(QueryInstalledVersion(c.productCode), L"");
        if (!c.shownError) {
            EXPECT_TRUE(notifications_.boxes.empty());
            continue;
        }
        ASSERT_EQ(notifications_.boxes.size(), 1u);
        const NotifyRecorder::Box& box = notifications_.boxes[0];
        EXPECT_EQ(box.text, L"Failed to get installed product info, error code: " + std::to_wstring(*c.shownError));
        EXPECT_EQ(box.caption, L"Pictora Maxora");
        EXPECT_EQ(box.style, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    }
}

TEST_F(InstalledProductTest, ProductNotInstalledLeavesEverythingAsItWas)
{
    ScopedTestKey product(HKEY_LOCAL_MACHINE, TestKeyPath());
    // Even a recorded language is not looked at.
    ASSERT_EQ(WriteRaw(HKEY_LOCAL_MACHINE, product.Path() + L"\\LanguagePacks", L"InitialLangID", REG_DWORD,
                       NumberBytes(1036)),
              ERROR_SUCCESS);
    InstallerConfig config;
    config.manifest.productCode = kUnknownCode;
    config.manifest.registryKey = product.Path();
    config.installedVersion = L"left over";
    config.language.langId = 1031;
    int existingInstall = 0;

    DetectInstalledProduct(config, existingInstall);

    EXPECT_EQ(config.installedVersion, L"");
    EXPECT_EQ(existingInstall, 0);
    EXPECT_EQ(config.language.langId, 1031);
    EXPECT_TRUE(notifications_.boxes.empty());
}

TEST_F(InstalledProductTest, MalformedProductCodeIsReportedAndCountsAsNotInstalled)
{
    InstallerConfig config;
    config.manifest.productCode = L"{not a code}";
    config.manifest.registryKey = TestKeyPath();
    int existingInstall = 0;

    DetectInstalledProduct(config, existingInstall);

    EXPECT_EQ(config.installedVersion, L"");
    EXPECT_EQ(existingInstall, 0);
    EXPECT_EQ(config.language.langId, 1033);
    ASSERT_EQ(notifications_.boxes.size(), 1u);
    EXPECT_EQ(notifications_.boxes[0].text, L"Failed to get installed product info, error code: 87");
}

TEST_F(InstalledProductTest, LanguagePacksAreListedInEnumerationOrder)
{
    ScopedTestKey product(HKEY_LOCAL_MACHINE, TestKeyPath());
    std::wstring packs = product.Path() + L"\\LanguagePacks";
    for (const wchar_t* name : {L"1036", L"abc", L"1031"})
        ASSERT_EQ(WriteRaw(HKEY_LOCAL_MACHINE, packs + L"\\" + name, L"", REG_SZ, {}), ERROR_SUCCESS);

    EXPECT_EQ(ListInstalledLanguagePacks(product.Path()), (std::vector<int32_t>{1031, 1036, 0}));
}

TEST_F(InstalledProductTest, NoLanguagePacksGivesAnEmptyListAndLeavesTheKey)
{
    ScopedTestKey product(HKEY_LOCAL_MACHINE, TestKeyPath());
    EXPECT_TRUE(ListInstalledLanguagePacks(product.Path()).empty());
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, product.Path() + L"\\LanguagePacks"));
}

// The recorded manifest lives in a fixed key of the current user: its value
// is saved and put back around each test.
class RecordedManifestTest : public InstalledProductTest {
protected:
    ScopedValueRestore saved_{HKEY_CURRENT_USER, kRecordedManifestKey, L"WebInstallerManifest"};
};

TEST_F(RecordedManifestTest, UserWhoNeverRanTheProductGetsTheEmptyKey)
{
    // Remove the key when it holds nothing but this value; otherwise other
    // records live there and only the value goes.
    HKEY raw = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRecordedManifestKey, 0, KEY_ALL_ACCESS, &raw) == ERROR_SUCCESS) {
        DWORD subkeys = 0, values = 0;
        RegQueryInfoKeyW(raw, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr,
                         nullptr, nullptr);
        RegDeleteValueW(raw, L"WebInstallerManifest");
        RegCloseKey(raw);
        bool onlyThisValue = subkeys == 0 && values <= 1;
        if (onlyThisValue) {
            ASSERT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, kRecordedManifestKey), ERROR_SUCCESS);
        }
    }
    bool keyWasRemoved = !KeyExists(HKEY_CURRENT_USER, kRecordedManifestKey);

    RecordedManifest recorded = GetRecordedManifestPath();

    EXPECT_EQ(recorded.path, L"");
    EXPECT_FALSE(recorded.usable);
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kRecordedManifestKey));
    if (keyWasRemoved) {
        DWORD subkeys = 1, values = 1;
        ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kRecordedManifestKey, 0, KEY_READ, &raw), ERROR_SUCCESS);
        RegQueryInfoKeyW(raw, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr,
                         nullptr, nullptr);
        RegCloseKey(raw);
        EXPECT_EQ(subkeys, 0u);
        EXPECT_EQ(values, 0u);
    }
}

TEST_F(RecordedManifestTest, PathIsUsableOnlyWhenItNamesAnExistingFile)
{
    TempDir dir;
    std::wstring manifest = dir / L"manifest.xml";
    ASSERT_TRUE(WriteFileBytes(manifest, "<config/>"));
    struct Case {
        const char* what;
        DWORD type;
        std::vector<BYTE> bytes;
        std::wstring path;
        bool usable;
    } cases[] = {
        {"existing file", REG_SZ, TextBytes(manifest + L'\0'), manifest, true},
        {"existing file, data without terminating zero", REG_SZ, TextBytes(manifest), manifest, true},
        {"missing file", REG_SZ, TextBytes(dir / L"gone.xml" + L'\0'), dir / L"gone.xml", false},
        // Found as well; the configuration load then fails to read it.
        {"a folder", REG_SZ, TextBytes(dir.Path() + L'\0'), dir.Path(), true},
        {"empty text", REG_SZ, TextBytes(std::wstring(1, L'\0')), L"", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(WriteRaw(HKEY_CURRENT_USER, kRecordedManifestKey, L"WebInstallerManifest", c.type, c.bytes),
                  ERROR_SUCCESS);
        RecordedManifest recorded = GetRecordedManifestPath();
        EXPECT_EQ(recorded.path, c.path);
        EXPECT_EQ(recorded.usable, c.usable);
    }
}

// The records of a fresh installation go below a product key of the test's
// own in both roots; the companion program's value lives in a fixed key of
// the current user and is removed again.
class InstallationRecordsTest : public InstalledProductTest {
protected:
    ScopedTestKey machine_{HKEY_LOCAL_MACHINE, TestKeyPath()};
    ScopedTestKey user_{HKEY_CURRENT_USER, TestKeyPath()};

    std::optional<std::wstring> MachineString(const wchar_t* name, const std::wstring& sub = L"")
    {
        std::optional<RawValue> value = ReadRaw(HKEY_LOCAL_MACHINE, machine_.Path() + sub, name);
        if (!value)
            return std::nullopt;
        EXPECT_EQ(value->type, static_cast<DWORD>(REG_SZ));
        return std::wstring(reinterpret_cast<const wchar_t*>(value->bytes.data()), value->bytes.size() / 2);
    }
    static std::optional<DWORD> Number(HKEY root, const std::wstring& path, const wchar_t* name)
    {
        std::optional<RawValue> value = ReadRaw(root, path, name);
        if (!value)
            return std::nullopt;
        EXPECT_EQ(value->type, static_cast<DWORD>(REG_DWORD));
        EXPECT_EQ(value->bytes.size(), 4u);
        DWORD number = 0;
        memcpy(&number, value->bytes.data(), std::min<size_t>(value->bytes.size(), 4));
        return number;
    }
};

TEST_F(InstallationRecordsTest, ValuesWrittenAfterAFreshInstallation)
{
    struct Case {
        std::wstring installFolder;
        std::wstring executable;
        int32_t hasLanguageChoice;
        int32_t langId;
        // Expected; nothing = not written.
        std::optional<std::wstring> installDir;
        std::optional<std::wstring> exe;
        bool languageRecords;
        // The companion program's value that is, or could wrongly be, written.
        std::wstring companion;
        bool companionWritten;
    } cases[] = {
        {L"C:\\Program Files\\ZYL Systems", L"main.exe", 1, 1033, L"C:\\Program Files\\ZYL Systems\\",
         L"C:\\Program Files\\ZYL Systems\\main.exe", false, L"C:\\Program Files\\ZYL Systems\\zylTandora2.exe",
         false},
        {L"D:", L"main.exe", 1, 1033, L"D:\\", L"D:\\main.exe", false, L"D:\\zylTandora2.exe", false},
        // A drive root that kept its backslash gets no second one.
        {L"D:\\", L"main.exe", 1, 1033, L"D:\\", L"D:\\main.exe", false, L"D:\\zylTandora2.exe", false},
        {L"C:\\Program Files\\ZYL Systems", L"bin\\main.exe", 1, 1033, L"C:\\Program Files\\ZYL Systems\\bin\\",
         L"C:\\Program Files\\ZYL Systems\\bin\\main.exe", false,
         L"C:\\Program Files\\ZYL Systems\\bin\\zylTandora2.exe", false},
        {L"D:\\PictoraTests\\Apps", L"app\\main.exe", 1, 1031, L"D:\\PictoraTests\\Apps\\app\\",
         L"D:\\PictoraTests\\Apps\\app\\main.exe", true, L"D:\\PictoraTests\\Apps\\app\\zylTandora2.exe", true},
        // A language chosen without a choice on offer records nothing of it.
        {L"D:\\PictoraTests\\Apps", L"main.exe", 0, 1031, L"D:\\PictoraTests\\Apps\\",
         L"D:\\PictoraTests\\Apps\\main.exe", false, L"D:\\PictoraTests\\Apps\\zylTandora2.exe", false},
        // No folder at all: no program record, and so no companion value.
        {L"", L"main.exe", 1, 1036, std::nullopt, std::nullopt, true, L"\\zylTandora2.exe", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::string(c.installFolder.begin(), c.installFolder.end()) << " + "
                                        << std::string(c.executable.begin(), c.executable.end()) << ", language "
                                        << c.langId);
        ScopedTestKey machine(HKEY_LOCAL_MACHINE, machine_.Path());
        ScopedTestKey user(HKEY_CURRENT_USER, user_.Path());
        ScopedValueRestore companionValue(HKEY_CURRENT_USER, kResourceLangIdKey, c.companion);
        ASSERT_FALSE(ReadRaw(HKEY_CURRENT_USER, kResourceLangIdKey, c.companion));

        InstallerConfig config;
        config.manifest.registryKey = machine_.Path();
        config.manifest.mainComponentExecutable = c.executable;
        config.installFolder = c.installFolder;
        config.hasLanguageChoice = c.hasLanguageChoice;
        config.language.langId = c.langId;

        WriteInstallationRecords(config);

        // Stored strings include their terminating zero.
        auto terminated = [](const std::optional<std::wstring>& text) {
            return text ? std::optional<std::wstring>(*text + L'\0') : std::nullopt;
        };
        EXPECT_EQ(MachineString(L"InstallDir"), terminated(c.installDir));
        EXPECT_EQ(MachineString(L"exe"), terminated(c.exe));
        std::optional<DWORD> language =
            c.languageRecords ? std::optional<DWORD>(static_cast<DWORD>(c.langId)) : std::nullopt;
        EXPECT_EQ(Number(HKEY_LOCAL_MACHINE, machine_.Path() + L"\\LanguagePacks", L"InitialLangID"), language);
        EXPECT_EQ(Number(HKEY_CURRENT_USER, user_.Path(), L"ApplicationLanguage"), language);
        std::optional<RawValue> resource = ReadRaw(HKEY_CURRENT_USER, kResourceLangIdKey, c.companion);
        if (c.companionWritten) {
            ASSERT_TRUE(resource);
            EXPECT_EQ(resource->type, static_cast<DWORD>(REG_SZ));
            EXPECT_EQ(resource->bytes, TextBytes(std::to_wstring(c.langId) + L'\0'));
        } else {
            EXPECT_FALSE(resource);
        }
    }
}

TEST_F(InstallationRecordsTest, InstalledProgramIsFoundOnlyWhenTheFileExists)
{
    TempDir dir;
    std::wstring program = dir / L"main.exe";
    ASSERT_TRUE(WriteFileBytes(program, "MZ"));
    struct Case {
        const char* what;
        std::optional<std::wstring> recorded;
        std::wstring found;
    } cases[] = {
        {"existing file", program, program},
        {"missing file", dir / L"gone.exe", L""},
        {"a folder", dir.Path(), L""},
        {"empty", L"", L""},
        {"no record", std::nullopt, L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScopedTestKey machine(HKEY_LOCAL_MACHINE, machine_.Path());
        if (c.recorded) {
            ASSERT_EQ(WriteRaw(HKEY_LOCAL_MACHINE, machine_.Path(), L"exe", REG_SZ, TextBytes(*c.recorded + L'\0')),
                      ERROR_SUCCESS);
        }
        EXPECT_EQ(GetInstalledProgramPath(machine_.Path()), c.found);
    }
}

}  // namespace
