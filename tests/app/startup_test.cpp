// The installer started beside a manifest prepares its working folders and
// ends without a window or message; beside none it ends quietly. A message
// box would hold the process, so "ends in time" also means "showed none".
// "/n" leaves the self-update check out (its server is not there); the
// check's own runs are in tests/selfupdate.
#include <gtest/gtest.h>

#include "support/process_helpers.h"

using namespace testing_support;

namespace {

const char kManifest[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
    "<zylwebinstaller>\r\n"
    "  <web_installer_version>1.0.0.1</web_installer_version>\r\n"
    "  <product_code>{0B1E5A7C-7C11-4A55-9C1D-5E0A2C6B0F42}</product_code>\r\n"
    "  <product>\r\n"
    "    <pid>PMX17-EN</pid>\r\n"
    "    <full_name>Pictora Maxora</full_name>\r\n"
    "    <short_name>Pictora</short_name>\r\n"
    "    <registry>SOFTWARE\\PictoraTests\\Startup</registry>\r\n"
    "    <version_check_url>http://127.0.0.1:9/version.xml</version_check_url>\r\n"
    "    <main_component>\r\n"
    "      <name>pictora.msi</name>\r\n"
    "      <executable>Pictora.exe</executable>\r\n"
    "      <full_url>http://127.0.0.1:9/pictora.msi</full_url>\r\n"
    "    </main_component>\r\n"
    "  </product>\r\n"
    "</zylwebinstaller>\r\n";

class Startup : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(CopyFileTo(BinaryDir() + L"\\PictoraSetup.exe", setup / L"PictoraSetup.exe"));
    }
    long Run(const std::wstring& options)
    {
        // The wizard that follows start-up is cancelled at once.
        return RunInstallerCancellingWizard(L"\"" + (setup / L"PictoraSetup.exe") + L"\" " + options, 60000, L"",
                                            &sawWizard);
    }
    TempDir setup;
    bool sawWizard = false;
};

TEST_F(Startup, BesideAManifestPreparesTheWorkingFolders)
{
    ASSERT_TRUE(CreateDirectoryW((setup / L"config").c_str(), nullptr));
    ASSERT_TRUE(WriteFileBytes(setup / L"config\\manifest.xml", kManifest));
    EXPECT_EQ(Run(L"/n"), 1602);
    EXPECT_TRUE(sawWizard);
    for (const wchar_t* folder : {L"component", L"msi", L"transform"})
        EXPECT_TRUE(IsFolder(setup / folder)) << folder;
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\PictoraTests\\Startup");
    RegDeleteTreeW(HKEY_CURRENT_USER, L"SOFTWARE\\PictoraTests\\Startup");
}

TEST_F(Startup, BesideNoManifestEndsQuietly)
{
    EXPECT_EQ(Run(L"/s /n"), 1602);
    for (const wchar_t* folder : {L"component", L"msi", L"transform"})
        EXPECT_FALSE(IsFolder(setup / folder)) << folder;
}

}  // namespace
