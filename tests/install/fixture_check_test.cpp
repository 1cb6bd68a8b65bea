// The installation tests' fixtures on their own, against the real Windows
// Installer and the real registry of the prefix: each package installs,
// records and removes what it should (the failing one fails and leaves
// nothing), and each stand-in program records its start and writes what its
// detection rule reads. Every test removes what it installed or wrote.
#include <windows.h>
#include <msi.h>
#include <msiquery.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "install/pipeline_fixture.h"
#include "support/process_helpers.h"
#include "support/registry_test_support.h"

using namespace registry_test;
using testing_support::BinaryDir;
using testing_support::CopyFileTo;
using testing_support::FileExists;
using testing_support::IsFolder;
using testing_support::ReadFileBytes;
using testing_support::RunProcess;
using testing_support::TempDir;
using testing_support::Utf8;

namespace {

using pipeline_test::kBonjourProductCode;
using pipeline_test::kFailingProductCode;
using pipeline_test::kPackageKey;
using pipeline_test::kProductCode;
const wchar_t kBonjourKey[] = L"SOFTWARE\\Apple Inc.\\Bonjour";
const wchar_t kWebView2Key[] = L"Software\\Microsoft\\EdgeUpdate\\Clients\\{F3017226-FE2A-4295-8BDF-00C3A9A7E4C5}";
const wchar_t kVcRuntimeKey[] = L"SOFTWARE\\Wow6432Node\\Microsoft\\VisualStudio\\14.0\\VC\\Runtimes\\x64";
constexpr DWORD kInstallTimeoutMs = 180000;

std::wstring Fixture(const std::wstring& name)
{
    return BinaryDir() + L"\\fixtures\\install\\" + name;
}

std::wstring Quoted(const std::wstring& text)
{
    return L"\"" + text + L"\"";
}

// Runs msiexec of the system folder; its exit code, read inside Wine.
long Msiexec(const std::wstring& arguments)
{
    return RunProcess(testing_support::MsiexecCommand() + L" " + arguments + L" /qn", kInstallTimeoutMs);
}

// "C:\Program Files\<name>" of the 64-bit view.
std::wstring ProgramFolder(const std::wstring& name)
{
    wchar_t programFiles[MAX_PATH];
    DWORD n = ExpandEnvironmentStringsW(L"%ProgramW6432%", programFiles, MAX_PATH);
    EXPECT_GT(n, 0u);
    return std::wstring(programFiles) + L"\\" + name;
}

// The installed version of a product, or the Windows Installer's error code
// as text ("1605" for a product that is not installed).
std::wstring InstalledVersion(const std::wstring& productCode)
{
    wchar_t version[64];
    DWORD size = 64;
    UINT result = MsiGetProductInfoW(productCode.c_str(), INSTALLPROPERTY_VERSIONSTRING, version, &size);
    return result == ERROR_SUCCESS ? std::wstring(version, size) : std::to_wstring(result);
}

const std::wstring kNotInstalled = std::to_wstring(ERROR_UNKNOWN_PRODUCT);

std::optional<std::wstring> ReadString(HKEY root, const std::wstring& path, const wchar_t* name)
{
    std::optional<RawValue> value = ReadRaw(root, path, name);
    if (!value)
        return std::nullopt;
    EXPECT_EQ(value->type, static_cast<DWORD>(REG_SZ)) << "value " << testing::PrintToString(std::wstring(name));
    std::wstring text(reinterpret_cast<const wchar_t*>(value->bytes.data()), value->bytes.size() / sizeof(wchar_t));
    if (!text.empty() && text.back() == L'\0')
        text.pop_back();
    return text;
}

std::optional<DWORD> ReadNumber(HKEY root, const std::wstring& path, const wchar_t* name)
{
    std::optional<RawValue> value = ReadRaw(root, path, name);
    if (!value || value->type != REG_DWORD || value->bytes.size() != sizeof(DWORD))
        return std::nullopt;
    return *reinterpret_cast<const DWORD*>(value->bytes.data());
}

// The package code (revision number) of an .msi file, through msi.dll's
// summary-information functions; empty when it cannot be read.
std::wstring PackageCodeOf(const std::wstring& package)
{
    HMODULE msi = GetModuleHandleW(L"msi.dll");
    if (!msi)
        msi = LoadLibraryW(L"msi.dll");
    if (!msi)
        return L"";
    auto open = reinterpret_cast<UINT(WINAPI*)(MSIHANDLE, LPCWSTR, UINT, MSIHANDLE*)>(
        reinterpret_cast<void*>(GetProcAddress(msi, "MsiGetSummaryInformationW")));
    auto get = reinterpret_cast<UINT(WINAPI*)(MSIHANDLE, UINT, UINT*, INT*, FILETIME*, LPWSTR, DWORD*)>(
        reinterpret_cast<void*>(GetProcAddress(msi, "MsiSummaryInfoGetPropertyW")));
    auto close = reinterpret_cast<UINT(WINAPI*)(MSIHANDLE)>(reinterpret_cast<void*>(GetProcAddress(msi, "MsiCloseHandle")));
    if (!open || !get || !close)
        return L"";
    MSIHANDLE info = 0;
    if (open(0, package.c_str(), 0, &info) != ERROR_SUCCESS)
        return L"";
    wchar_t code[64];
    DWORD size = 64;
    UINT type = 0;
    UINT result = get(info, 9 /* PID_REVNUMBER */, &type, nullptr, nullptr, code, &size);
    close(info);
    return result == ERROR_SUCCESS ? std::wstring(code, size) : L"";
}

// Removes a product left installed by an interrupted run, before a test
// and again after it; the test fails when the removal fails.
void RemoveIfInstalled(const std::wstring& productCode)
{
    if (InstalledVersion(productCode) != kNotInstalled) {
        EXPECT_EQ(Msiexec(L"/x " + productCode), 0);
    }
    EXPECT_EQ(InstalledVersion(productCode), kNotInstalled);
}

// A product package test: nothing of the product before, nothing after.
class FixtureProductPackage : public testing::Test {
protected:
    void SetUp() override { RemoveIfInstalled(kProductCode); }
    void TearDown() override
    {
        RemoveIfInstalled(kProductCode);
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kPackageKey));
        EXPECT_FALSE(FileExists(folder_ + L"\\PictoraMaxora.exe"));
        EXPECT_FALSE(FileExists(folder_ + L"\\readme.txt"));
    }

    std::wstring folder_ = ProgramFolder(L"Pictora Maxora");
};

TEST_F(FixtureProductPackage, FirstVersionInstallsItsFilesAndRecordAndIsRemovedWhole)
{
    ASSERT_EQ(Msiexec(L"/i " + Quoted(Fixture(L"pictora_maxora_1.msi"))), 0);

    EXPECT_EQ(InstalledVersion(kProductCode), L"9.1.0.100");
    // The installed program is the fixture program built beside the tests.
    std::string program = ReadFileBytes(folder_ + L"\\PictoraMaxora.exe");
    EXPECT_FALSE(program.empty());
    EXPECT_TRUE(program == ReadFileBytes(Fixture(L"PictoraMaxora.exe")));
    EXPECT_EQ(ReadFileBytes(folder_ + L"\\readme.txt"), "Pictora Maxora 9.1.0.100 test package\n");
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kPackageKey, L"Version"), L"9.1.0.100");
    // No level given: the package's default.
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kPackageKey, L"ShellIntegrationLevel"), L"All");

    ASSERT_EQ(Msiexec(L"/x " + kProductCode), 0);
    EXPECT_EQ(InstalledVersion(kProductCode), kNotInstalled);
    EXPECT_FALSE(IsFolder(folder_));
    // TearDown checks that the files and the record are gone.
}

TEST_F(FixtureProductPackage, SecondVersionIsAMinorUpdateOfTheFirst)
{
    std::wstring package1 = Fixture(L"pictora_maxora_1.msi");
    std::wstring package2 = Fixture(L"pictora_maxora_2.msi");
    // The same product in two packages: the package codes must differ.
    std::wstring code1 = PackageCodeOf(package1);
    std::wstring code2 = PackageCodeOf(package2);
    EXPECT_EQ(code1.size(), 38u);
    EXPECT_EQ(code2.size(), 38u);
    EXPECT_NE(code1, code2);

    ASSERT_EQ(Msiexec(L"/i " + Quoted(package1) + L" SHELL_INTEGRATION_LEVEL=\"None\""), 0);
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kPackageKey, L"ShellIntegrationLevel"), L"None");

    ASSERT_EQ(Msiexec(L"/i " + Quoted(package2) +
                      L" REINSTALL=ALL REINSTALLMODE=vomus REBOOT=ReallySuppress SHELL_INTEGRATION_LEVEL=\"Free\""),
              0);

    EXPECT_EQ(InstalledVersion(kProductCode), L"9.2.0.200");
    EXPECT_EQ(ReadFileBytes(folder_ + L"\\readme.txt"), "Pictora Maxora 9.2.0.200 test package\n");
    EXPECT_TRUE(FileExists(folder_ + L"\\PictoraMaxora.exe"));
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kPackageKey, L"Version"), L"9.2.0.200");
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kPackageKey, L"ShellIntegrationLevel"), L"Free");
}

TEST(FixtureFailingPackage, InstallationFailsAndIsRolledBack)
{
    RemoveIfInstalled(kFailingProductCode);
    std::wstring folder = ProgramFolder(L"Pictora Maxora Failing");
    ASSERT_FALSE(FileExists(folder + L"\\readme.txt"));

    EXPECT_EQ(Msiexec(L"/i " + Quoted(Fixture(L"pictora_maxora_failing.msi"))), ERROR_INSTALL_FAILURE);

    EXPECT_EQ(InstalledVersion(kFailingProductCode), kNotInstalled);
    EXPECT_FALSE(FileExists(folder + L"\\readme.txt"));
    // The rolled-back installation leaves no folder, or at most an empty one
    // (which is removed here).
    if (IsFolder(folder)) {
        EXPECT_TRUE(RemoveDirectoryW(folder.c_str())) << "the folder is left with contents";
    }
    RemoveIfInstalled(kFailingProductCode);
}

TEST(FixtureBonjourPackage, WritesTheBonjourVersionUntilRemoved)
{
    RemoveIfInstalled(kBonjourProductCode);
    ASSERT_FALSE(ReadRaw(HKEY_LOCAL_MACHINE, kBonjourKey, L"Version")) << "Bonjour value left by someone else";

    ASSERT_EQ(Msiexec(L"/i " + Quoted(Fixture(L"bonjour.msi"))), 0);
    EXPECT_EQ(InstalledVersion(kBonjourProductCode), L"3.1.0.1");
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kBonjourKey, L"Version"), L"3.1.0.1");

    EXPECT_EQ(Msiexec(L"/x " + kBonjourProductCode), 0);
    EXPECT_EQ(InstalledVersion(kBonjourProductCode), kNotInstalled);
    EXPECT_FALSE(ReadRaw(HKEY_LOCAL_MACHINE, kBonjourKey, L"Version"));
    RemoveIfInstalled(kBonjourProductCode);
}

// The programs the pipeline starts. They share one record file, so the
// record also shows that each start is appended, in order.
class FixturePrograms : public testing::Test {
protected:
    std::wstring Environment(const std::wstring& extra = L"") const
    {
        return L"PICTORA_FIXTURE_RECORD=" + dir_ / L"record.txt" + (extra.empty() ? L"" : L"\n" + extra);
    }
    std::string Record() const { return ReadFileBytes(dir_ / L"record.txt"); }

    TempDir dir_;
};

TEST_F(FixturePrograms, PrerequisitesRecordTheirStartAndWriteWhatTheirDetectionReads)
{
    // The values are written where the detection of each prerequisite reads
    // them; whatever was there before is put back afterwards.
    ScopedValueRestore pv(HKEY_CURRENT_USER, kWebView2Key, L"pv");
    ScopedValueRestore major(HKEY_LOCAL_MACHINE, kVcRuntimeKey, L"Major");
    ScopedValueRestore minor(HKEY_LOCAL_MACHINE, kVcRuntimeKey, L"Minor");
    ScopedValueRestore build(HKEY_LOCAL_MACHINE, kVcRuntimeKey, L"Bld");
    ScopedTestKey product(HKEY_LOCAL_MACHINE, TestKeyPath());
    // The pipeline stores language packs as "<folder><tick>language_pack_<id>.exe".
    std::wstring pack = dir_ / L"77language_pack_1031.exe";
    ASSERT_TRUE(CopyFileTo(Fixture(L"language_pack.exe"), pack));
    std::wstring unnamedPack = dir_ / L"language_pack.exe";
    ASSERT_TRUE(CopyFileTo(Fixture(L"language_pack.exe"), unnamedPack));

    struct Case {
        std::wstring program;
        std::wstring arguments;
        std::wstring environment;  // besides the record file
        long exitCode;
        std::string recordedName;
    } cases[] = {
        {Fixture(L"webview2.exe"), L"/silent /install", L"", 0, "webview2.exe"},
        // An exit code asked for is passed on whole (a Linux exit status
        // would keep 8 bits of it).
        {Fixture(L"vc_redist.exe"), L"/install /quiet /norestart", L"PICTORA_FIXTURE_EXIT_CODE=3010", 3010,
         "vc_redist.exe"},
        {pack, L"/s", L"PICTORA_FIXTURE_REGISTRY_KEY=" + product.Path(), 0, "77language_pack_1031.exe"},
        // No language id in the name: recorded, nothing written, exit code 2.
        {unnamedPack, L"/s", L"PICTORA_FIXTURE_REGISTRY_KEY=" + product.Path(), 2, "language_pack.exe"},
    };
    std::string expectedRecord;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.recordedName);
        // Not quoted, as the pipeline may start them; the paths have no blank.
        std::wstring commandLine = c.program + L" " + c.arguments;
        EXPECT_EQ(RunProcess(commandLine, 60000, Environment(c.environment)), c.exitCode);
        expectedRecord += c.recordedName + "\t" + Utf8(commandLine) + "\n";
        EXPECT_EQ(Record(), expectedRecord);
    }

    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kWebView2Key, L"pv"), L"120.0.2210.91");
    // Read back from this 64-bit process through the literal path, as the
    // detection reads it.
    EXPECT_EQ(ReadNumber(HKEY_LOCAL_MACHINE, kVcRuntimeKey, L"Major"), 14u);
    EXPECT_EQ(ReadNumber(HKEY_LOCAL_MACHINE, kVcRuntimeKey, L"Minor"), 40u);
    EXPECT_EQ(ReadNumber(HKEY_LOCAL_MACHINE, kVcRuntimeKey, L"Bld"), 33810u);
    std::wstring packs = product.Path() + L"\\LanguagePacks";
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, packs + L"\\1031", L"Installed"), L"1");
    // Only the pack whose name carried an id was written.
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, packs.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
    DWORD subkeys = 0;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                     nullptr);
    RegCloseKey(key);
    EXPECT_EQ(subkeys, 1u);
}

TEST_F(FixturePrograms, ProductProgramWritesItsCommandLineBesideItselfEachTime)
{
    std::wstring program = dir_ / L"PictoraMaxora.exe";
    ASSERT_TRUE(CopyFileTo(Fixture(L"PictoraMaxora.exe"), program));
    std::wstring first = Quoted(program) + L" /first";
    std::wstring second = Quoted(program) + L" /photo \"Caf\u00e9 \u65e5\u672c.jpg\"";
    const std::string firstUtf8 = Utf8(first);
    // The file name in UTF-8, spelled out.
    const std::string secondUtf8 = Utf8(Quoted(program)) + " /photo \"Caf\xc3\xa9 \xe6\x97\xa5\xe6\x9c\xac.jpg\"";

    ASSERT_EQ(RunProcess(first, 60000, Environment()), 0);
    ASSERT_EQ(RunProcess(second, 60000, Environment()), 0);

    // The latest start replaces the file; the record keeps both.
    EXPECT_EQ(ReadFileBytes(dir_ / L"launched.txt"), secondUtf8);
    EXPECT_EQ(Record(), "PictoraMaxora.exe\t" + firstUtf8 + "\nPictoraMaxora.exe\t" + secondUtf8 + "\n");
    // Without a record file it still writes its own.
    ASSERT_EQ(RunProcess(first, 60000), 0);
    EXPECT_EQ(ReadFileBytes(dir_ / L"launched.txt"), firstUtf8);
}

}  // namespace
