// The built installer runs its self-update check at start-up against the
// local server: too old, it downloads the newer installer into its
// temporary folder and starts it with "/n" as it exits; current, it goes on
// and starts nothing but the wizard, which the test closes as a user does.
// Other message boxes would hold the process, so these runs end in time
// only when none was shown.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "resource_ids.h"
#include "selfupdate_test_support.h"

using namespace selfupdate_test;
using testing_support::BinaryDir;
using testing_support::CopyFileTo;
using testing_support::ReadFileBytes;
using testing_support::RunProcess;
using testing_support::TempDir;
using testing_support::Utf8;
using testing_support::WriteFileBytes;

namespace {

// The folders "ZYLWebInstaller_*" in `temp`.
std::vector<std::wstring> UpdaterFolders(const std::wstring& temp)
{
    std::vector<std::wstring> folders;
    WIN32_FIND_DATAW data;
    UniqueFindHandle search(FindFirstFileW((temp + L"\\ZYLWebInstaller_*").c_str(), &data));
    if (search) {
        do {
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                folders.push_back(temp + L"\\" + data.cFileName);
        } while (FindNextFileW(search.Get(), &data));
    }
    return folders;
}

class InstallerRun : public SelfUpdateTest {
protected:
    void SetUp() override
    {
        SelfUpdateTest::SetUp();
        ASSERT_TRUE(CopyFileTo(BinaryDir() + L"\\PictoraSetup.exe", setup / L"PictoraSetup.exe"));
        ASSERT_TRUE(CreateDirectoryW((setup / L"config").c_str(), nullptr));
        std::string manifest =
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
            "<zylwebinstaller>\r\n"
            "  <web_installer_version>" + Utf8(kOwnVersion) + "</web_installer_version>\r\n"
            "  <product_code>{0B1E5A7C-7C11-4A55-9C1D-5E0A2C6B0F42}</product_code>\r\n"
            "  <product>\r\n"
            "    <pid>PMX17-EN</pid>\r\n"
            "    <full_name>Pictora Maxora</full_name>\r\n"
            "    <short_name>Pictora</short_name>\r\n"
            "    <registry>" + Utf8(productKey.Path()) + "</registry>\r\n"
            "    <version_check_url>" + Utf8(Url(Path("version.xml"))) + "</version_check_url>\r\n"
            "    <main_component>\r\n"
            "      <name>pictora.msi</name>\r\n"
            "      <executable>Pictora.exe</executable>\r\n"
            "      <full_url>" + Utf8(Url(Path("pictora.msi"))) + "</full_url>\r\n"
            "    </main_component>\r\n"
            "  </product>\r\n"
            "</zylwebinstaller>\r\n";
        ASSERT_TRUE(WriteFileBytes(setup / L"config\\manifest.xml", manifest));
    }
    void TearDown() override
    {
        RegDeleteTreeW(HKEY_CURRENT_USER, productKey.Path().c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, productKey.Path().c_str());
    }

    // Runs the installer with its temporary folder in `temp` to its end.
    // When it goes on to the wizard (`sawWizard`), the wizard is closed as
    // a user closes it, the cancel question answered with Yes, so the run
    // then ends with 1602.
    long Run(const std::wstring& options)
    {
        return testing_support::RunInstallerCancellingWizard(L"\"" + (setup / L"PictoraSetup.exe") + L"\" " + options,
                                                             90000, L"TMP=" + temp.Path() + L"\nTEMP=" + temp.Path(),
                                                             &sawWizard);
    }

    bool sawWizard = false;

    TempDir setup;
    TempDir temp;
};

TEST_F(InstallerRun, TooOldFetchesTheNewInstallerAndStartsItWithN)
{
    ServeDescriptor(Descriptor{.freshMinimum = "17.0.0.12", .freshUrl = ServeInstaller("PictoraSetup.exe")});
    EXPECT_EQ(Run(L""), 0);

    std::vector<std::wstring> folders = UpdaterFolders(temp.Path());
    ASSERT_EQ(folders.size(), 1u) << "one updater folder per run";
    std::wstring updater = folders[0] + L"\\Pictora Maxora.exe";
    std::string args = WaitForContent(updater + L".args");
    ASSERT_FALSE(args.empty()) << "the new installer was not started";
    EXPECT_EQ(args.substr(args.size() - 3), " /n") << args;
    EXPECT_EQ(net_test::TheServer().RequestCount(Path("version.xml")), 1);
    EXPECT_EQ(net_test::TheServer().RequestCount(Path("PictoraSetup.exe")), 1);
}

TEST_F(InstallerRun, CurrentGoesOnAndStartsNothing)
{
    ServeDescriptor(Descriptor{.freshUrl = ServeInstaller("PictoraSetup.exe")});
    EXPECT_EQ(Run(L""), 1602) << "the wizard came up and was cancelled";
    EXPECT_TRUE(sawWizard);
    EXPECT_EQ(net_test::TheServer().RequestCount(Path("version.xml")), 1);
    EXPECT_EQ(net_test::TheServer().RequestCount(Path("PictoraSetup.exe")), 0);
    EXPECT_TRUE(UpdaterFolders(temp.Path()).empty());
}

// The dialog as the user sees it, from outside the installer's process:
// up while the descriptor arrives, then gone with the process.
TEST_F(InstallerRun, ShowsThePreparingDialogAndClosesItByItself)
{
    ASSERT_TRUE(net_test::TheServer().SetRule(
        Path("version.xml"), "type=text/xml&chunk=100&delay=300&body=" + EncodeRuleValue(Descriptor{}.Xml())));
    UniqueHandle process(testing_support::StartProcess(L"\"" + (setup / L"PictoraSetup.exe") + L"\"", 0,
                                                       L"TMP=" + temp.Path() + L"\nTEMP=" + temp.Path()));
    ASSERT_TRUE(process);
    HWND dialog = nullptr;
    for (int i = 0; i < 500 && !dialog; ++i, Sleep(10))
        dialog = FindWindowW(L"#32770", L"Preparing...");
    ASSERT_TRUE(dialog) << "no \"Preparing...\" window";
    Sleep(200);
    EXPECT_TRUE(IsWindowVisible(dialog));
    HWND bar = GetDlgItem(dialog, IDC_CHECK_PROGRESS);
    ASSERT_TRUE(bar);
    wchar_t barClass[32] = {};
    GetClassNameW(bar, barClass, 32);
    EXPECT_STREQ(barClass, L"msctls_progress32");
    EXPECT_TRUE(GetWindowLongPtrW(bar, GWL_STYLE) & PBS_MARQUEE);

    EXPECT_EQ(testing_support::FinishInstallerCancellingWizard(process.Get(), 90000, &sawWizard), 1602) << "the wizard came up and was cancelled";
    EXPECT_TRUE(sawWizard);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(net_test::TheServer().RequestCount(Path("version.xml")), 1);
}

TEST_F(InstallerRun, NSkipsTheCheck)
{
    ServeDescriptor(Descriptor{.freshMinimum = "17.0.0.12", .freshUrl = ServeInstaller("PictoraSetup.exe")});
    EXPECT_EQ(Run(L"/n"), 1602) << "the wizard came up and was cancelled";
    EXPECT_TRUE(sawWizard);
    EXPECT_EQ(net_test::TheServer().RequestCount(Path("version.xml")), 0);
    EXPECT_TRUE(UpdaterFolders(temp.Path()).empty());
}

}  // namespace
