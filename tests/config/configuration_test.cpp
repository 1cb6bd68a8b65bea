// LoadConfiguration end to end on real folders, with the real registry
// and the real Windows Installer behind it.
#include <gtest/gtest.h>

#include <memory>

#include <aclapi.h>
#include <sddl.h>

#include "base/debug_trace.h"
#include "base/file_trust.h"
#include "base/notifier.h"
#include "config/installer_config.h"
#include "support/process_helpers.h"

using namespace testing_support;

namespace {

constexpr wchar_t kRecordedKey[] = L"SOFTWARE\\ZYL Systems\\Pictora Maxora\\170";
constexpr wchar_t kRecordedValue[] = L"WebInstallerManifest";

struct ManifestFields {
    std::string pid = "PMX17-EN";
    std::string registry = "SOFTWARE\\PictoraTests\\Configuration";
    std::string fullUrl = "http://127.0.0.1:9/pictora.msi";
    std::string standalone = "false";
    std::string fullName = "Pictora Maxora";
    std::string sha256;  // the main component's, when not empty
    std::string mainName = "pictora.msi";
};

std::string ManifestXml(const ManifestFields& f)
{
    auto element = [](const char* name, const std::string& value) {
        return value.empty() ? std::string() : "<" + std::string(name) + ">" + value + "</" + name + ">";
    };
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<zylwebinstaller>"
           "<web_installer_version>1.0.0.1</web_installer_version>"
           // A well-formed product code that no Windows Installer knows.
           "<product_code>{0B1E5A7C-7C11-4A55-9C1D-5E0A2C6B0F42}</product_code><product>" +
           element("pid", f.pid) + element("full_name", f.fullName) + "<short_name>Pictora</short_name>" +
           element("registry", f.registry) + element("standalone", f.standalone) +
           "<version_check_url>http://127.0.0.1:9/version.xml</version_check_url>"
           "<main_component>" + element("name", f.mainName) + "<executable>Pictora.exe</executable>" +
           element("full_url", f.fullUrl) + element("sha256", f.sha256) +
           "</main_component></product></zylwebinstaller>\r\n";
}

bool IsCurrentUser(PSID sid)
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return false;
    std::vector<BYTE> buffer(256);
    DWORD size = 0;
    bool same = GetTokenInformation(token, TokenUser, buffer.data(), static_cast<DWORD>(buffer.size()), &size) &&
                EqualSid(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, sid);
    CloseHandle(token);
    return same;
}

bool IsHidden(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_HIDDEN);
}

class Configuration : public ::testing::Test {
protected:
    void SetUp() override
    {
        SaveRecordedManifest();
        SetNotifyHandler([this](const std::wstring& text, const std::wstring&, UINT) {
            messages.push_back(text);
            return IDOK;
        });
        CreateDirectoryW((setup / L"config").c_str(), nullptr);
    }
    void TearDown() override
    {
        SetNotifyHandler({});
        RestoreRecordedManifest();
    }

    void WriteManifest(const ManifestFields& fields, const std::wstring& path = L"")
    {
        ASSERT_TRUE(WriteFileBytes(path.empty() ? setup / L"config\\manifest.xml" : path, ManifestXml(fields)));
    }
    int Load(const std::wstring& exePath)
    {
        existingInstall = 0;
        config = std::make_unique<InstallerConfig>();
        return LoadConfiguration(*config, exePath, existingInstall, L"");
    }
    int Load() { return Load(setup / L"installer.exe"); }

    void RecordManifest(const std::wstring& path)
    {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kRecordedKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExW(key, kRecordedValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                       static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
    }

    TempDir setup;
    std::unique_ptr<InstallerConfig> config = std::make_unique<InstallerConfig>();
    int existingInstall = 0;
    std::vector<std::wstring> messages;

private:
    void SaveRecordedManifest()
    {
        wchar_t buffer[1024];
        DWORD size = sizeof buffer;
        hadRecorded_ = RegGetValueW(HKEY_CURRENT_USER, kRecordedKey, kRecordedValue, RRF_RT_REG_SZ, nullptr, buffer,
                                    &size) == ERROR_SUCCESS;
        if (hadRecorded_)
            recorded_ = buffer;
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kRecordedKey, kRecordedValue);
    }
    void RestoreRecordedManifest()
    {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kRecordedKey, kRecordedValue);
        if (hadRecorded_)
            RecordManifest(recorded_);
    }
    bool hadRecorded_ = false;
    std::wstring recorded_;
};

TEST_F(Configuration, WebPackageLoadsAndPreparesItsFolders)
{
    WriteManifest({});
    ASSERT_EQ(Load(), ConfigurationLoaded);
    EXPECT_EQ(config->exeFolder, setup.Path());
    EXPECT_EQ(config->manifestPath, setup / L"config\\manifest.xml");
    EXPECT_EQ(config->componentFolder, setup / L"component\\");
    EXPECT_EQ(config->msiFolder, setup / L"msi\\");
    EXPECT_EQ(config->transformFolder, setup / L"transform\\");
    EXPECT_EQ(config->language.languageFolder, setup / L"language\\");
    EXPECT_EQ(config->manifest.pid, L"PMX17-EN");
    EXPECT_EQ(config->installFolder, L"C:\\Program Files\\ZYL Systems");
    for (const wchar_t* folder : {L"component", L"msi", L"transform"})
        EXPECT_TRUE(IsFolder(setup / folder)) << folder;
    EXPECT_TRUE(config->installedVersion.empty());
    EXPECT_EQ(existingInstall, 0);
    EXPECT_TRUE(messages.empty());
}

TEST_F(Configuration, UnusableManifestStopsBeforeTheLaterSteps)
{
    struct Case {
        const char* what;
        bool write;
        ManifestFields fields;
    };
    ManifestFields noPid, noRegistry, noUrl, badDigest, traversal, device;
    noPid.pid.clear();
    noRegistry.registry.clear();
    noUrl.fullUrl.clear();
    badDigest.sha256 = std::string(63, 'a') + "z";
    traversal.mainName = "..\\..\\Windows\\System32\\x.dll";
    device.mainName = "NUL.msi";
    const Case cases[] = {
        {"no manifest file", false, {}},
        {"no pid", true, noPid},
        {"no registry key", true, noRegistry},
        {"no main component address", true, noUrl},
        {"a main component digest that is not 64 hex digits", true, badDigest},
        {"a main component name that climbs out of its folder", true, traversal},
        {"a main component named like a device", true, device},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DeleteFileW((setup / L"config\\manifest.xml").c_str());
        if (c.write)
            WriteManifest(c.fields);
        EXPECT_EQ(Load(), ConfigurationManifestUnusable);
        EXPECT_TRUE(config->componentFolder.empty());
        EXPECT_TRUE(config->language.languageFolder.empty());
        EXPECT_TRUE(config->languages.empty());
        EXPECT_EQ(config->installFolder, L"C:\\Program Files\\ZYL Systems");
        EXPECT_FALSE(IsFolder(setup / L"msi"));
    }
}

// The folders downloads go to can be changed by administrators only,
// whether the run made them or found them with another access list.
TEST_F(Configuration, WorkingFoldersAreWritableByAdministratorsOnly)
{
    // "msi" is there already, open to everyone.
    ASSERT_TRUE(CreateDirectoryW((setup / L"msi").c_str(), nullptr));
    ASSERT_EQ(SetNamedSecurityInfoW(const_cast<wchar_t*>((setup / L"msi").c_str()), SE_FILE_OBJECT,
                                    DACL_SECURITY_INFORMATION, nullptr, nullptr, nullptr, nullptr),
              static_cast<DWORD>(ERROR_SUCCESS));
    WriteManifest({});
    ASSERT_EQ(Load(), ConfigurationLoaded);
    for (const wchar_t* folder : {L"component", L"msi", L"transform"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(folder)));
        PSECURITY_DESCRIPTOR sd = nullptr;
        PACL dacl = nullptr;
        ASSERT_EQ(GetNamedSecurityInfoW((setup / folder).c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION,
                                        nullptr, nullptr, &dacl, nullptr, &sd),
                  static_cast<DWORD>(ERROR_SUCCESS));
        // What the folder's access list comes to: write access for SYSTEM,
        // the Administrators and this elevated user only. (A system that
        // keeps the list given shows exactly kProtectedFolderSddl; one that
        // maps it onto owner/group/other permissions shows the owner with
        // full access and others with at most read and execute.)
        ASSERT_TRUE(dacl) << "a folder without an access list is open to everyone";
        for (DWORD i = 0; i < dacl->AceCount; ++i) {
            ACE_HEADER* header = nullptr;
            ASSERT_TRUE(GetAce(dacl, i, reinterpret_cast<void**>(&header)));
            if (header->AceType != ACCESS_ALLOWED_ACE_TYPE)
                continue;
            auto* ace = reinterpret_cast<ACCESS_ALLOWED_ACE*>(header);
            constexpr ACCESS_MASK kWrite = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA | FILE_WRITE_ATTRIBUTES |
                                           FILE_DELETE_CHILD | DELETE | WRITE_DAC | WRITE_OWNER | GENERIC_WRITE |
                                           GENERIC_ALL;
            PSID sid = &ace->SidStart;
            wchar_t* name = nullptr;
            ConvertSidToStringSidW(sid, &name);
            std::wstring sidText = name ? name : L"?";
            LocalFree(name);
            if (ace->Mask & kWrite) {
                EXPECT_TRUE(IsWellKnownSid(sid, WinLocalSystemSid) || IsWellKnownSid(sid, WinBuiltinAdministratorsSid) ||
                            IsCurrentUser(sid))
                    << "write access for " << testing::PrintToString(sidText);
            }
        }
        LocalFree(sd);
    }
}

// A working folder that is a link to another folder is refused: the
// elevated installer would write where it points.
TEST_F(Configuration, AWorkingFolderThatIsALinkIsRefused)
{
    TempDir elsewhere;
    ASSERT_TRUE(MakeDirectoryLink(setup / L"msi", elsewhere.Path()));
    WriteManifest({});
    EXPECT_EQ(Load(), ConfigurationFolderFailed);
    EXPECT_FALSE(FileExists(elsewhere / L"transform")) << "nothing is made through the link";
}

TEST_F(Configuration, ExecutablePathWithoutAFolder)
{
    for (const wchar_t* path : {L"", L"installer.exe", L"\\installer.exe"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(path)));
        EXPECT_EQ(Load(path), ConfigurationNoExecutablePath);
        EXPECT_TRUE(config->exeFolder.empty());
    }
}

// A recorded manifest that the user (or anyone but an administrator) can
// write is not taken: any program of the user could have written it, and
// the record itself. The manifest beside the installer is used, and the
// log says why. (Which recorded manifests are taken, those only
// administrators can write, is decided by AccessListLetsNonAdministratorsWrite.)
TEST_F(Configuration, RecordedManifestThatTheUserCanWriteIsIgnored)
{
    std::wstring log = setup / L"trace.log";
    SetDebugTraceLogPath(log);
    WriteManifest({});
    ManifestFields other;
    other.pid = "PMX17-DE";
    other.fullName = "Pictora Maxora Recorded";
    std::wstring recorded = setup / L"recorded.xml";
    WriteManifest(other, recorded);
    RecordManifest(recorded);

    ASSERT_EQ(Load(), ConfigurationLoaded);
    SetDebugTraceLogPath(L"");
    EXPECT_EQ(config->manifestPath, setup / L"config\\manifest.xml");
    EXPECT_EQ(config->manifest.pid, L"PMX17-EN");
    EXPECT_NE(ReadFileBytes(log).find("can be changed by non-administrators; it is ignored"), std::string::npos)
        << ReadFileBytes(log);
}

TEST_F(Configuration, RecordedManifestThatCannotBeUsed)
{
    WriteManifest({});
    // A path naming no file, or a folder, is ignored.
    for (const wchar_t* name : {L"missing.xml", L"folder.xml"}) {
        CreateDirectoryW((setup / L"folder.xml").c_str(), nullptr);
        RecordManifest(setup / name);
        ASSERT_EQ(Load(), ConfigurationLoaded);
        EXPECT_EQ(config->manifestPath, setup / L"config\\manifest.xml");
        EXPECT_EQ(config->manifest.pid, L"PMX17-EN");
    }
}

// Which access lists make a file one that only administrators can change.
TEST(FileTrust, OnlyAdministratorsMayWrite)
{
    struct Case {
        const wchar_t* sddl;
        bool writable;
    };
    const Case cases[] = {
        {L"D:P(A;;FA;;;SY)(A;;FA;;;BA)(A;;0x1200a9;;;BU)", false},
        {L"D:P(A;;FA;;;SY)(A;;FA;;;BA)(A;;FR;;;WD)", false},
        {L"D:P(A;;FA;;;S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464)(A;;FRFX;;;BU)", false},
        {L"D:P(A;;FA;;;SY)(A;OICIIO;FA;;;CO)(A;;FR;;;BU)", false},  // passes on to children only
        {L"D:P(D;;FA;;;BU)(A;;FA;;;BA)", false},                    // denying entries grant nothing
        {L"D:P(A;;FA;;;SY)(A;;FW;;;BU)", true},
        {L"D:P(A;;FA;;;SY)(A;;FA;;;AU)", true},
        {L"D:P(A;;FA;;;SY)(A;;GW;;;WD)", true},
        {L"D:P(A;;FA;;;SY)(A;;GA;;;IU)", true},
        {L"D:P(A;;FA;;;SY)(A;;0x100000;;;BU)(A;;SD;;;BU)", true},  // delete
        {L"D:P(A;;FA;;;SY)(A;;WD;;;BU)", true},                    // change the access list
        {L"D:P(A;;FA;;;S-1-5-21-1-2-3-1001)", true},               // a user's own account
        {L"D:P", false},                                            // nobody may do anything
    };
    EXPECT_TRUE(AccessListLetsNonAdministratorsWrite(nullptr)) << "no access list: everyone may";
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.sddl)));
        PSECURITY_DESCRIPTOR sd = nullptr;
        ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(c.sddl, SDDL_REVISION_1, &sd, nullptr));
        BOOL present = FALSE, defaulted = FALSE;
        PACL dacl = nullptr;
        ASSERT_TRUE(GetSecurityDescriptorDacl(sd, &present, &dacl, &defaulted));
        EXPECT_EQ(AccessListLetsNonAdministratorsWrite(present ? dacl : nullptr), c.writable);
        LocalFree(sd);
    }
}

TEST_F(Configuration, StandaloneManifestNeverConsultsTheRegistry)
{
    ManifestFields standalone;
    standalone.standalone = "true";
    WriteManifest(standalone);
    ManifestFields other;
    other.pid = "PMX17-DE";
    WriteManifest(other, setup / L"recorded.xml");
    RecordManifest(setup / L"recorded.xml");

    ASSERT_EQ(Load(), ConfigurationLoaded);
    EXPECT_EQ(config->manifest.pid, L"PMX17-EN");
    EXPECT_EQ(config->manifestPath, setup / L"config\\manifest.xml");
    EXPECT_FALSE(IsFolder(setup / L"component"));
    EXPECT_TRUE(IsFolder(setup / L"msi"));
    EXPECT_TRUE(IsFolder(setup / L"transform"));
}

TEST_F(Configuration, EmptyComponentFolderIsMadeAnewOneWithFilesStays)
{
    WriteManifest({});
    ASSERT_EQ(Load(), ConfigurationLoaded);
    std::wstring component = setup / L"component";
    // Mark the folder: a folder made anew loses the mark.
    ASSERT_TRUE(SetFileAttributesW(component.c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_EQ(Load(), ConfigurationLoaded);
    EXPECT_TRUE(IsFolder(component));
    EXPECT_FALSE(IsHidden(component)) << "the empty folder was not made anew";

    ASSERT_TRUE(WriteFileBytes(component + L"\\vc_redist.exe", "partial download"));
    ASSERT_TRUE(SetFileAttributesW(component.c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_EQ(Load(), ConfigurationLoaded);
    EXPECT_TRUE(IsHidden(component)) << "a folder with files was replaced";
    EXPECT_EQ(ReadFileBytes(component + L"\\vc_redist.exe"), "partial download");
}

TEST_F(Configuration, WorkingFolderThatCannotBeMade)
{
    // A file where a working folder belongs.
    WriteManifest({});
    ASSERT_TRUE(WriteFileBytes(setup / L"transform", "not a folder"));
    EXPECT_EQ(Load(), ConfigurationFolderFailed);
    // The language step ran before.
    EXPECT_EQ(config->language.languageFolder, setup / L"language\\");
}

}  // namespace
