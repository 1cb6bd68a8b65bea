// The installation road under Wine, end to end: the version check and the
// downloads from the local server, prerequisites run as programs (one of
// them a Windows Installer package), the product package installed by the
// real Windows Installer, the language pack, and the registration.
#include <gtest/gtest.h>

#include <algorithm>

#include "config/installer_config.h"
#include "config/run_flags.h"
#include "install/pipeline_fixture.h"
#include "support/process_helpers.h"

using namespace pipeline_test;
using testing_support::FileExists;
using testing_support::IsFolder;
using testing_support::ReadFileBytes;
using testing_support::WriteFileBytes;

namespace {

// The records of the fixture programs whose file name ends with `program`.
std::vector<std::string> RecordsOf(const std::vector<std::string>& records, const std::string& program)
{
    std::vector<std::string> found;
    for (const std::string& line : records) {
        size_t tab = line.find('\t');
        std::string name = line.substr(0, tab);
        if (name.size() >= program.size() && name.compare(name.size() - program.size(), program.size(), program) == 0)
            found.push_back(tab == std::string::npos ? std::string() : line.substr(tab + 1));
    }
    return found;
}

}  // namespace

// English from a product without a language choice, nothing to install
// first: the package alone, downloaded and installed, then exactly the two
// records of the program's place.
TEST_F(PipelineTest, FreshWebInstallFinishesAndRecordsTheProgram)
{
    ServeText("version.xml", VersionFileText("9.1.0.100", "1.0.0.0"));
    // Sent in pieces, so that the download lasts a few polls.
    ServeRule("pictora_maxora_1.msi", "file=pictora_maxora_1.msi&chunk=65536&delay=40");
    TestManifest parts;
    ASSERT_NO_FATAL_FAILURE(LoadProduct(parts));
    TheConfig().hasLanguageChoice = 0;
    TheConfig().associationLevel = 1;
    // The window told of the run's end (the status panel, in the wizard).
    const UINT kEnded = WM_APP + 7;
    HWND endWindow = CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_TRUE(endWindow);
    controller->endNotifyWindow = endWindow;
    controller->endNotifyMessage = kEnded;

    PipelineRun run = Drive();
    int endMessages = 0;
    MSG message;
    while (PeekMessageW(&message, endWindow, kEnded, kEnded, PM_REMOVE))
        ++endMessages;
    DestroyWindow(endWindow);
    EXPECT_EQ(endMessages, 1) << "the worker posts the end of the run once";

    ASSERT_EQ(run.last.phase, PipelinePhase::Finished) << PhaseName(run.last.phase);
    EXPECT_EQ(run.phases, (std::vector<PipelinePhase>{PipelinePhase::NotStarted, PipelinePhase::Downloading,
                                                      PipelinePhase::Installing, PipelinePhase::Finished}));
    EXPECT_EQ(run.last.downloadWeights, std::vector<uint32_t>{100});
    EXPECT_EQ(run.last.installWeights, std::vector<uint32_t>{100});
    EXPECT_TRUE(boxes->boxes.empty());
    EXPECT_EQ(Requests("version.xml"), 1);
    EXPECT_EQ(controller->failureReason, 0);

    // The package's files are in the chosen folder and it is registered
    // with the Windows Installer under its version.
    EXPECT_TRUE(FileExists(InstallFolder() + L"\\PictoraMaxora.exe"));
    EXPECT_TRUE(FileExists(InstallFolder() + L"\\readme.txt"));
    EXPECT_EQ(InstalledVersion(kProductCode), kVersion1);
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kPackageKey, L"ShellIntegrationLevel"), L"Free");

    // The registration: the folder with its backslash and the program.
    const std::wstring key = RegistryKeyPath();
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, key, L"InstallDir"), InstallFolder() + L"\\");
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, key, L"exe"), InstallFolder() + L"\\PictoraMaxora.exe");
    EXPECT_FALSE(ReadNumber(HKEY_LOCAL_MACHINE, key + L"\\LanguagePacks", L"InitialLangID"));
    EXPECT_FALSE(ReadNumber(HKEY_CURRENT_USER, key, L"ApplicationLanguage"));
    EXPECT_EQ(TheConfig().installFolder, InstallFolder()) << "the stored folder loses its backslash";
    // The package's InstallHomepageURL, as the Windows Installer reported it.
    EXPECT_EQ(TheConfig().homePageUrl, L"https://www.pictora-maxora.com/welcome");
}

// German chosen from an offered list, with three prerequisites of which the
// VC runtime is already there: the two missing ones are downloaded and run
// before the package (the Bonjour package through msiexec), the transform
// is downloaded, the language pack runs with "/s", and the language is
// recorded for the product and its companion program.
TEST_F(PipelineTest, LocalisedInstallRunsMissingPrerequisitesAndTheLanguagePack)
{
    ServeText("version.xml", VersionFileText("9.1.0.100", "1.0.0.0"));
    Serve("pictora_maxora_1.msi", "pictora_maxora_1.msi");
    Serve("webview2.exe", "webview2.exe");
    Serve("vc_redist.exe", "vc_redist.exe");
    Serve("bonjour.msi", "bonjour.msi");
    Serve("language_pack_de.exe", "language_pack.exe");
    ServeRule("pictora_de.mst", "size=2048");
    // The VC runtime 14.40.33810 is installed.
    registry_test::WriteRaw(HKEY_LOCAL_MACHINE,
                            L"SOFTWARE\\Wow6432Node\\Microsoft\\VisualStudio\\14.0\\VC\\Runtimes\\x64", L"Major",
                            REG_DWORD, registry_test::NumberBytes(14));
    registry_test::WriteRaw(HKEY_LOCAL_MACHINE,
                            L"SOFTWARE\\Wow6432Node\\Microsoft\\VisualStudio\\14.0\\VC\\Runtimes\\x64", L"Minor",
                            REG_DWORD, registry_test::NumberBytes(40));
    registry_test::WriteRaw(HKEY_LOCAL_MACHINE,
                            L"SOFTWARE\\Wow6432Node\\Microsoft\\VisualStudio\\14.0\\VC\\Runtimes\\x64", L"Bld",
                            REG_DWORD, registry_test::NumberBytes(33810));

    TestManifest parts;
    parts.dependencies = {{"webview2.exe", "", "webview2.exe", "/silent /install"},
                         {"vc_redist.exe", "", "vc_redist.exe", "/quiet /norestart"},
                         {"bonjour.msi", "", "bonjour.msi", "/qn"}};
    parts.transforms = {{"1031", "Deutsch", "pictora_de.mst", ""}};
    parts.languagePacks = {{"1036", "Français", "language_pack_fr.exe", ""},
                          {"1031", "Deutsch", "language_pack_de.exe", ""}};
    ASSERT_NO_FATAL_FAILURE(LoadProduct(parts));
    TheConfig().hasLanguageChoice = 1;
    TheConfig().language.langId = 1031;

    PipelineRun run = Drive();

    ASSERT_EQ(run.last.phase, PipelinePhase::Finished) << PhaseName(run.last.phase);
    EXPECT_TRUE(boxes->boxes.empty());
    // webview2 40, bonjour 40, the package 50, transform 5, pack 5 of 140.
    EXPECT_EQ(run.last.installWeights, (std::vector<uint32_t>{28, 28, 35, 3, 6}));
    EXPECT_EQ(Requests("vc_redist.exe"), 0) << "a prerequisite that is present is not downloaded";
    EXPECT_EQ(Requests("language_pack_fr.exe"), 0);
    EXPECT_EQ(Requests("pictora_de.mst"), 1);
    EXPECT_TRUE(FileExists(TheConfig().transformFolder + L"1031.mst"));

    std::vector<std::string> records = FixtureRecords();
    std::vector<std::string> webview = RecordsOf(records, "webview2.exe");
    ASSERT_EQ(webview.size(), 1u);
    EXPECT_NE(webview[0].find("\" /silent /install"), std::string::npos) << webview[0];
    EXPECT_EQ(webview[0].front(), '"') << "the program's path is quoted: " << webview[0];
    EXPECT_TRUE(RecordsOf(records, "vc_redist.exe").empty());
    std::vector<std::string> pack = RecordsOf(records, "language_pack_1031.exe");
    ASSERT_EQ(pack.size(), 1u) << "records: " << records.size();
    EXPECT_NE(pack[0].find("\" /s"), std::string::npos) << pack[0];
    // The Bonjour package was installed by msiexec before the product.
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Apple Inc.\\Bonjour", L"Version"), L"3.1.0.1");
    EXPECT_FALSE(InstalledVersion(kBonjourProductCode).empty());
    EXPECT_EQ(InstalledVersion(kProductCode), kVersion1);
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kPackageKey, L"ShellIntegrationLevel"), L"All");

    const std::wstring key = RegistryKeyPath();
    EXPECT_TRUE(registry_test::KeyExists(HKEY_LOCAL_MACHINE, key + L"\\LanguagePacks\\1031"));
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, key, L"InstallDir"), InstallFolder() + L"\\");
    EXPECT_EQ(ReadNumber(HKEY_LOCAL_MACHINE, key + L"\\LanguagePacks", L"InitialLangID"), 1031u);
    EXPECT_EQ(ReadNumber(HKEY_CURRENT_USER, key, L"ApplicationLanguage"), 1031u);
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, L"SOFTWARE\\ZYL Systems\\ResourceLangID\\",
                         InstallFolder() + L"\\zylTandora2.exe"),
              L"1031");
}

// A standalone package: its files lie beside the installer already; nothing
// is fetched and the installations alone drive the percentage. A file of
// the work list that is not there (here the language pack) is passed over.
TEST_F(PipelineTest, StandalonePackageInstallsWithoutTheServer)
{
    TestManifest parts;
    parts.standalone = true;
    parts.languagePacks = {{"1031", "Deutsch", "language_pack_de.exe", ""}};
    ASSERT_NO_FATAL_FAILURE(LoadProduct(parts));
    TheConfig().hasLanguageChoice = 1;
    TheConfig().language.langId = 1031;
    ASSERT_TRUE(testing_support::CopyFileTo(testing_support::BinaryDir() + L"\\fixtures\\install\\pictora_maxora_1.msi",
                                            TheConfig().msiFolder + L"pictora_maxora_1.msi"));

    PipelineRun run = Drive();

    ASSERT_EQ(run.last.phase, PipelinePhase::Finished) << PhaseName(run.last.phase);
    EXPECT_FALSE(run.Saw(PipelinePhase::Downloading));
    EXPECT_TRUE(run.last.downloadWeights.empty());
    EXPECT_EQ(run.last.installWeights, (std::vector<uint32_t>{90, 10}));
    EXPECT_EQ(Requests("version.xml"), 0);
    EXPECT_EQ(Requests("pictora_maxora_1.msi"), 0);
    EXPECT_EQ(InstalledVersion(kProductCode), kVersion1);
    EXPECT_TRUE(FileExists(InstallFolder() + L"\\PictoraMaxora.exe"));
    EXPECT_TRUE(FixtureRecords().empty()) << "no language pack ran";
    EXPECT_EQ(controller->installIndex, 1) << "the missing file does not count as installed";
}

// An update of the installed copy: the newer package is applied over it with
// the reinstall properties, and nothing is recorded anew.
TEST_F(PipelineTest, UpdateOfAnInstalledCopyRecordsNothing)
{
    std::wstring first = testing_support::BinaryDir() + L"\\fixtures\\install\\pictora_maxora_1.msi";
    ASSERT_EQ(testing_support::RunProcess(testing_support::MsiexecCommand() + L" /i \"" + first + L"\" /qn", 180000), 0);
    ASSERT_EQ(InstalledVersion(kProductCode), kVersion1);
    ServeText("version.xml", VersionFileText("9.2.0.200", "1.0.0.0"));
    Serve("pictora_maxora_2.msi", "pictora_maxora_2.msi");
    TestManifest parts;
    parts.mainComponent = "pictora_maxora_2.msi";
    parts.mainComponentPath = "pictora_maxora_2.msi";
    ASSERT_NO_FATAL_FAILURE(LoadProduct(parts));
    ASSERT_EQ(TheRunFlags().existingInstall, 1) << "the installed copy is found at start-up";

    PipelineRun run = Drive();

    ASSERT_EQ(run.last.phase, PipelinePhase::Finished) << PhaseName(run.last.phase);
    EXPECT_EQ(InstalledVersion(kProductCode), kVersion2);
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kPackageKey, L"Version"), kVersion2);
    EXPECT_FALSE(ReadString(HKEY_LOCAL_MACHINE, RegistryKeyPath(), L"InstallDir"));
    EXPECT_FALSE(ReadString(HKEY_LOCAL_MACHINE, RegistryKeyPath(), L"exe"));
}
