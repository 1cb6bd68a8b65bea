// The self-update check against the local test server: the verdicts the
// check reaches from a served descriptor, what the worker does with each
// (messages, the launch offer, the newer installer's download), the paths
// it uses, and the exit routine that starts a downloaded installer.
#include <gtest/gtest.h>

#include <shlwapi.h>

#include <string>
#include <vector>

#include "app/installer_app.h"
#include "config/manifest_printers.h"
#include "config/registry_records.h"
#include "net/sha256_hash.h"
#include "selfupdate/client_validator.h"
#include "selfupdate_test_support.h"

using namespace selfupdate_test;
using testing_support::BinaryDir;
using testing_support::FileExists;
using testing_support::ReadFileBytes;
using testing_support::TempDir;
using testing_support::Utf8;
using testing_support::WriteFileBytes;
using net_test::Widen;

namespace {

// The files below `folder` (one level of subfolders) whose names end with `suffix`.
std::vector<std::wstring> FilesBelow(const std::wstring& folder, const std::wstring& suffix)
{
    std::vector<std::wstring> found;
    WIN32_FIND_DATAW data;
    UniqueFindHandle search(FindFirstFileW((folder + L"\\*").c_str(), &data));
    if (!search)
        return found;
    do {
        std::wstring name = data.cFileName;
        if (name == L"." || name == L"..")
            continue;
        std::wstring path = folder + L"\\" + name;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            for (const std::wstring& inner : FilesBelow(path, suffix))
                found.push_back(inner);
        } else if (name.size() >= suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0) {
            found.push_back(path);
        }
    } while (FindNextFileW(search.Get(), &data));
    return found;
}

// Points TMP and TEMP (what GetTempPathW reads) at a folder for the
// object's lifetime.
class ScopedTempVariable {
public:
    explicit ScopedTempVariable(const std::wstring& folder) : tmp_(Read(L"TMP")), temp_(Read(L"TEMP"))
    {
        SetEnvironmentVariableW(L"TMP", folder.c_str());
        SetEnvironmentVariableW(L"TEMP", folder.c_str());
    }
    ~ScopedTempVariable()
    {
        SetEnvironmentVariableW(L"TMP", tmp_.c_str());
        SetEnvironmentVariableW(L"TEMP", temp_.c_str());
    }
    ScopedTempVariable(const ScopedTempVariable&) = delete;
    ScopedTempVariable& operator=(const ScopedTempVariable&) = delete;

private:
    static std::wstring Read(const wchar_t* name)
    {
        wchar_t value[MAX_PATH + 1] = {};
        GetEnvironmentVariableW(name, value, MAX_PATH + 1);
        return value;
    }
    std::wstring tmp_, temp_;
};

// Each test's temporary folder is its own, so the updater folders it makes
// can be looked at and are removed with it.
class ClientValidatorTest : public SelfUpdateTest {
protected:
    std::wstring TempFolder() const { return temporary.Path() + L"\\"; }

    TempDir temporary;
    ScopedTempVariable temporaryVariable{temporary.Path()};
};

// The verdicts reached from a descriptor fetched from the server.
TEST_F(ClientValidatorTest, ServedDescriptorGivesTheVerdict)
{
    const struct {
        const char* what;
        int existingInstall;
        const wchar_t* installedVersion;
        Descriptor descriptor;
        int32_t verdict;
    } cases[] = {
        {"fresh, this build is the minimum", 0, L"", Descriptor{}, 0},
        {"fresh, the minimum is newer", 0, L"", Descriptor{.freshMinimum = "17.0.0.12"}, 2},
        {"fresh, only the patch minimum is newer", 0, L"", Descriptor{.patchMinimum = "17.0.0.12"}, 0},
        {"installed copy is the version on offer", 1, L"17.0.2.601", Descriptor{}, 1},
        {"installed copy is newer than the offer", 1, L"17.0.2.700", Descriptor{}, 1},
        {"installed copy is older, this build is the minimum", 1, L"17.0.1.500", Descriptor{}, 0},
        {"installed copy is older, the patch minimum is newer", 1, L"17.0.1.500",
         Descriptor{.patchMinimum = "17.0.0.12"}, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ServeDescriptor(c.descriptor);
        flags.existingInstall = c.existingInstall;
        config.installedVersion = c.installedVersion;
        CClientValidator validator(config, flags);
        EXPECT_EQ(validator.CheckServerVersion(), c.verdict);
        EXPECT_EQ(validator.downloadResult, 1);
        EXPECT_EQ(config.manifest.versionInfo.freshInstall.minWebInstallerVersion, Widen(c.descriptor.freshMinimum));
    }
    // The fetched descriptors stay in the working folder.
    EXPECT_FALSE(FilesBelow(work.Path(), L"version.xml").empty());
}

// Whatever keeps the server's whole answer from arriving is verdict 4:
// nothing that reached the file is read as the descriptor.
TEST_F(ClientValidatorTest, DescriptorThatDoesNotArriveWholeIsUnreachable)
{
    // A descriptor that would say "go on", padded so that a cut can fall
    // after its last element.
    const std::string good = Descriptor{}.Xml() + std::string(4000, ' ');
    const std::string encoded = EncodeRuleValue(good);
    const struct {
        const char* what;
        std::string rule;  // empty: the server is not there
    } cases[] = {
        {"server down", ""},
        {"not found, with the descriptor as the page", "status=404&body=" + encoded},
        {"server error", "status=500&body=" + encoded},
        {"cut after the last element", "body=" + encoded + "&cut=" + std::to_string(good.size() - 2000)},
        {"not a descriptor", "body=" + EncodeRuleValue("<html><body>Service moved</body>")},
        {"empty answer", "body="},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.rule.empty())
            config.manifest.versionCheckUrl = L"http://127.0.0.1:" + std::to_wstring(net_test::UnusedPort()) + L"/version.xml";
        else {
            config.manifest.versionCheckUrl = Url(Path("version.xml"));
            ASSERT_TRUE(net_test::TheServer().SetRule(Path("version.xml"), c.rule));
        }
        config.manifest.versionInfo = {};
        CClientValidator validator(config, flags);
        EXPECT_EQ(validator.CheckServerVersion(), kVerdictServerUnreachable);
        EXPECT_EQ(config.manifest.versionInfo, VersionDescriptor{}) << "a descriptor was read";
    }
}

TEST_F(ClientValidatorTest, StandalonePackageFetchesNothing)
{
    ASSERT_TRUE(net_test::TheServer().SetRule(Path("version.xml"), "status=500"));
    config.manifest.standalone = true;
    const struct {
        int existingInstall;
        const wchar_t* installedVersion;
        int32_t verdict;
    } cases[] = {
        {0, L"", 0},
        {1, L"17.0.1.500", 1},  // the local version on offer is no newer
        {1, L"17.0.1.400", 0},
    };
    for (const auto& c : cases) {
        flags.existingInstall = c.existingInstall;
        config.installedVersion = c.installedVersion;
        CClientValidator validator(config, flags);
        EXPECT_EQ(validator.CheckServerVersion(), c.verdict) << Utf8(c.installedVersion);
    }
    EXPECT_EQ(net_test::TheServer().RequestCount(Path("version.xml")), 0);
    EXPECT_TRUE(FilesBelow(work.Path(), L"version.xml").empty());
}

TEST_F(ClientValidatorTest, VerdictZeroClosesTheDialogAndStartUpGoesOn)
{
    ServeDescriptor(Descriptor{.freshUrl = ServeInstaller("PictoraSetup.exe")});
    AnsweringNotifier notifier;
    StandInDialog dialog;
    CClientValidator validator(config, flags);

    ULONGLONG start = GetTickCount64();
    validator.RunWorker(dialog.Get());
    ULONGLONG elapsed = GetTickCount64() - start;

    EXPECT_EQ(validator.outcome, SelfUpdateContinue);
    EXPECT_EQ(validator.updaterPath, L"");
    EXPECT_TRUE(notifier.boxes.empty());
    EXPECT_TRUE(dialog.Visible());
    EXPECT_EQ(dialog.PostedCloses(), 1);
    // The worker waits 200 ms before it asks the server.
    EXPECT_GE(elapsed, 195u);
    EXPECT_EQ(net_test::TheServer().RequestCount(Path("version.xml")), 1);
    EXPECT_EQ(net_test::TheServer().RequestCount(Path("PictoraSetup.exe")), 0);
}

TEST_F(ClientValidatorTest, ServerDownShowsTheConnectMessageAndStops)
{
    config.manifest.versionCheckUrl = L"http://127.0.0.1:" + std::to_wstring(net_test::UnusedPort()) + L"/version.xml";
    AnsweringNotifier notifier;
    StandInDialog dialog;
    CClientValidator validator(config, flags);
    validator.RunWorker(dialog.Get());

    EXPECT_EQ(validator.outcome, SelfUpdateStop);
    ASSERT_EQ(notifier.boxes.size(), 1u);
    EXPECT_EQ(notifier.boxes[0].text,
              L"Unable to contact the download server. Check your Internet connection and try again. If the issue "
              L"persists, please contact Customer Care.");
    EXPECT_EQ(notifier.boxes[0].caption, L"Pictora");
    EXPECT_EQ(notifier.boxes[0].style, static_cast<UINT>(MB_OK | MB_ICONERROR));
    EXPECT_FALSE(dialog.Visible()) << "the message must not stand beside the dialog";
    EXPECT_EQ(dialog.PostedCloses(), 1);
}

// Verdict 2: the newer installer lands in its own updater folder and the
// exit routine starts it with "/n".
TEST_F(ClientValidatorTest, ClientTooOldDownloadsTheNewInstallerAndExitStartsIt)
{
    ServeDescriptor(Descriptor{.freshMinimum = "17.0.0.12", .freshUrl = ServeInstaller("fresh/PictoraSetup.exe"),
                               .patchUrl = ServeInstaller("patch/PictoraSetup.exe")});
    AnsweringNotifier notifier;
    StandInDialog dialog;
    CClientValidator validator(config, flags);
    validator.RunWorker(dialog.Get());

    ASSERT_EQ(validator.outcome, SelfUpdateRelaunch);
    EXPECT_EQ(validator.downloadResult, 1);
    EXPECT_TRUE(notifier.boxes.empty());
    EXPECT_TRUE(dialog.Visible());
    EXPECT_EQ(dialog.PostedCloses(), 1);
    EXPECT_EQ(net_test::TheServer().RequestCount(Path("fresh/PictoraSetup.exe")), 1);
    EXPECT_EQ(net_test::TheServer().RequestCount(Path("patch/PictoraSetup.exe")), 0);

    // "<temp>\ZYLWebInstaller_<tick>\Pictora Maxora.exe"
    const std::wstring prefix = TempFolder() + L"ZYLWebInstaller_";
    const std::wstring& path = validator.updaterPath;
    ASSERT_EQ(path.compare(0, prefix.size(), prefix), 0) << Utf8(path);
    size_t slash = path.find(L'\\', prefix.size());
    ASSERT_NE(slash, std::wstring::npos) << Utf8(path);
    std::wstring tick = path.substr(prefix.size(), slash - prefix.size());
    EXPECT_FALSE(tick.empty());
    EXPECT_EQ(tick.find_first_not_of(L"-0123456789"), std::wstring::npos) << Utf8(tick);
    EXPECT_EQ(path.substr(slash), L"\\Pictora Maxora.exe");
    EXPECT_TRUE(net_test::SameBytes(ReadFileBytes(path), ReadFileBytes(BinaryDir() + L"\\command_recorder.exe")));

    CZYLMasterInstallerApp app;
    app.clientValidator.outcome = validator.outcome;
    app.clientValidator.updaterPath = validator.updaterPath;
    EXPECT_EQ(app.ExitInstance(), 0);
    std::string args = WaitForContent(path + L".args");
    ASSERT_FALSE(args.empty()) << "the downloaded installer was not started";
    EXPECT_EQ(args.substr(args.size() - 3), " /n") << args;
    EXPECT_TRUE(notifier.boxes.empty());
}

TEST_F(ClientValidatorTest, InstalledCopyTakesThePatchInstaller)
{
    flags.existingInstall = 1;
    config.installedVersion = L"17.0.1.500";
    ServeDescriptor(Descriptor{.freshUrl = ServeInstaller("fresh/PictoraSetup.exe"),
                               .patchMinimum = "17.0.0.12",
                               .patchUrl = ServeInstaller("patch/PictoraSetup.exe")});
    AnsweringNotifier notifier;
    CClientValidator validator(config, flags);
    validator.RunWorker(nullptr);
    EXPECT_EQ(validator.outcome, SelfUpdateRelaunch);
    EXPECT_TRUE(FileExists(validator.updaterPath));
    EXPECT_EQ(net_test::TheServer().RequestCount(Path("fresh/PictoraSetup.exe")), 0);
    EXPECT_EQ(net_test::TheServer().RequestCount(Path("patch/PictoraSetup.exe")), 1);
}

// A newer installer that does not arrive whole is neither kept nor started:
// the wizard opens with this installer.
TEST_F(ClientValidatorTest, FailedDownloadOfTheNewInstallerGoesOnAndStartsNothing)
{
    const struct {
        const char* what;
        const char* name;  // served at; null: no address for this case in the descriptor
        std::string rule;
    } cases[] = {
        {"cut short", "cut.exe", "&cut=5000"},
        {"not found, with the program as the page", "missing.exe", "&status=404"},
        {"no address for a fresh installation", nullptr, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Descriptor descriptor{.freshMinimum = "17.0.0.12"};
        if (c.name)
            descriptor.freshUrl = ServeInstaller(c.name, c.rule);
        else
            descriptor.patchUrl = ServeInstaller("patch.exe");  // the other case's address is not taken
        ServeDescriptor(descriptor);
        AnsweringNotifier notifier;
        StandInDialog dialog;
        CClientValidator validator(config, flags);
        validator.RunWorker(dialog.Get());

        EXPECT_EQ(validator.outcome, SelfUpdateContinue);
        EXPECT_EQ(validator.updaterPath, L"");
        EXPECT_TRUE(notifier.boxes.empty());
        EXPECT_EQ(dialog.PostedCloses(), 1);
        EXPECT_TRUE(FilesBelow(temporary.Path(), L".exe").empty()) << "a part of the installer was kept";

        CZYLMasterInstallerApp app;
        app.clientValidator.outcome = validator.outcome;
        app.clientValidator.updaterPath = validator.updaterPath;
        app.ExitInstance();
    }
    EXPECT_EQ(net_test::TheServer().RequestCount(Path("patch.exe")), 0);
    Sleep(1000);
    EXPECT_TRUE(FilesBelow(temporary.Path(), L".args").empty()) << "something was started";
}

// The descriptor may name the newer installer's SHA-256: the right one
// (in either case) lets it start at exit, a wrong one leaves nothing to start.
TEST_F(ClientValidatorTest, TheNewInstallerIsStartedOnlyWhenItsDigestMatches)
{
    std::string bytes = ReadFileBytes(BinaryDir() + L"\\command_recorder.exe");
    ASSERT_FALSE(bytes.empty());
    Sha256Hash hash;
    hash.Update(bytes.data(), bytes.size());
    std::wstring digest = Sha256DigestText(hash.Finish().value());
    std::string lower(digest.begin(), digest.end()), upper = lower, wrong = lower;
    for (char& c : upper)
        c = static_cast<char>(toupper(c));
    wrong[10] = wrong[10] == 'a' ? 'b' : 'a';
    const struct {
        const char* what;
        std::string digest;
        bool started;
    } cases[] = {
        {"lower case", lower, true},
        {"upper case", upper, true},
        {"wrong", wrong, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ServeDescriptor(Descriptor{.freshMinimum = "17.0.0.12",
                                   .freshUrl = ServeInstaller("hashed" + std::to_string(&c - cases) + ".exe"),
                                   .freshSha256 = c.digest});
        AnsweringNotifier notifier;
        size_t before = FilesBelow(temporary.Path(), L".exe").size();
        CClientValidator validator(config, flags);
        validator.RunWorker(nullptr);
        EXPECT_EQ(validator.outcome, c.started ? SelfUpdateRelaunch : SelfUpdateContinue);
        EXPECT_EQ(validator.downloadResult, c.started ? 1 : 0);
        EXPECT_EQ(validator.updaterPath.empty(), !c.started);
        EXPECT_EQ(FilesBelow(temporary.Path(), L".exe").size(), before + (c.started ? 1 : 0))
            << "a wrong installer is not kept";
    }
}

TEST_F(ClientValidatorTest, UpdaterFolderThatCannotBeMadeGoesOn)
{
    // The temporary folder names a file: no folder can be made inside it.
    ASSERT_TRUE(WriteFileBytes(temporary / L"occupied", "a file"));
    ScopedTempVariable blocked(temporary / L"occupied");
    ServeDescriptor(Descriptor{.freshMinimum = "17.0.0.12", .freshUrl = ServeInstaller("PictoraSetup.exe")});
    CClientValidator validator(config, flags);
    EXPECT_EQ(validator.MakeUpdaterPath(), L"");
    validator.RunWorker(nullptr);
    EXPECT_EQ(validator.outcome, SelfUpdateContinue);
    EXPECT_EQ(validator.updaterPath, L"");
    EXPECT_EQ(net_test::TheServer().RequestCount(Path("PictoraSetup.exe")), 0);
}

TEST_F(ClientValidatorTest, EveryRunGetsItsOwnUpdaterFolder)
{
    CClientValidator validator(config, flags);
    std::wstring first = validator.MakeUpdaterPath();
    Sleep(50);
    std::wstring second = validator.MakeUpdaterPath();
    ASSERT_FALSE(first.empty());
    ASSERT_FALSE(second.empty());
    EXPECT_NE(first, second);
    for (const std::wstring& path : {first, second}) {
        std::wstring folder = path.substr(0, path.find_last_of(L'\\'));
        EXPECT_TRUE(testing_support::IsFolder(folder)) << Utf8(folder);
        EXPECT_FALSE(FileExists(path)) << "only the folder is made";
    }
}

TEST_F(ClientValidatorTest, InstalledExecutableIsTheRecordedProgramWhenItExists)
{
    std::wstring program = work / L"Pictora.exe";
    ASSERT_TRUE(WriteFileBytes(program, "MZ"));
    const struct {
        const char* what;
        const wchar_t* recorded;  // null: no "exe" value
        std::wstring expected;
    } cases[] = {
        {"nothing recorded", nullptr, L""},
        {"an empty record", L"", L""},
        {"a program that is gone", L"C:\\nowhere\\Pictora.exe", L""},
        {"the program", program.c_str(), program},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, productKey.Path().c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegDeleteValueW(key, registry_records::kProgramValue);
        if (c.recorded)
            RegSetValueExW(key, registry_records::kProgramValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(c.recorded),
                           static_cast<DWORD>((wcslen(c.recorded) + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
        CClientValidator validator(config, flags);
        EXPECT_EQ(validator.GetInstalledExecutablePath(), c.expected);
    }
}

// Verdict 1: the question, and the installed product started as the
// desktop user only on Yes and only when it is there.
TEST_F(ClientValidatorTest, AlreadyInstalledOffersTheLaunch)
{
    flags.existingInstall = 1;
    config.installedVersion = L"17.0.2.601";
    ServeDescriptor(Descriptor{});
    const struct {
        const char* what;
        int answer;
        bool programThere;
        bool started;
    } cases[] = {
        {"yes", IDYES, true, true},
        {"no", IDNO, true, false},
        {"yes, but the program is gone", IDYES, false, false},
    };
    int run = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::wstring folder = work / (L"Pictora Maxora " + std::to_wstring(++run));
        std::wstring program = folder + L"\\Pictora.exe";
        ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
        if (c.programThere) {
            ASSERT_TRUE(testing_support::CopyFileTo(BinaryDir() + L"\\held_recorder.exe", program));
        }
        ASSERT_EQ(registry_test::WriteRaw(HKEY_LOCAL_MACHINE, productKey.Path(), registry_records::kProgramValue, REG_SZ,
                                          registry_test::TextBytes(program + L'\0')),
                  ERROR_SUCCESS);

        AnsweringNotifier notifier(c.answer);
        StandInDialog dialog;
        CClientValidator validator(config, flags);
        validator.RunWorker(dialog.Get());

        EXPECT_EQ(validator.outcome, SelfUpdateStop);
        ASSERT_EQ(notifier.boxes.size(), 1u);
        EXPECT_EQ(notifier.boxes[0].text, L"Pictora is already installed. Would you like to launch it?");
        EXPECT_EQ(notifier.boxes[0].caption, L"Pictora");
        EXPECT_EQ(notifier.boxes[0].style, static_cast<UINT>(MB_YESNO | MB_ICONERROR));
        EXPECT_FALSE(dialog.Visible());
        EXPECT_EQ(dialog.PostedCloses(), 1);
        if (c.started) {
            EXPECT_FALSE(WaitForContent(program + L".args").empty()) << "the installed product was not started";
        } else {
            Sleep(1500);
            EXPECT_FALSE(FileExists(program + L".args")) << "the installed product was started";
        }
    }
}

}  // namespace
