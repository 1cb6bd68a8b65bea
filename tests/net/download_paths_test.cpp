// Local download file names: componentFolder, in a web package the tick
// count as a signed decimal, then the name.
#include <gtest/gtest.h>

#include "config/installer_config.h"
#include "net/download_paths.h"

namespace {

InstallerConfig PackageConfig(bool standalone)
{
    InstallerConfig config;
    config.componentFolder = L"C:\\setup\\component\\";
    config.manifest.standalone = standalone;
    return config;
}

TEST(DownloadPathsTest, NamesInWebAndStandalonePackages)
{
    struct Case {
        bool standalone;
        DWORD tick;
        const wchar_t* download;      // MakeDownloadPath of "version.xml"
        const wchar_t* languagePack;  // MakeLanguagePackPath of 1031
    };
    const Case cases[] = {
        {false, 123456, L"C:\\setup\\component\\123456version.xml",
         L"C:\\setup\\component\\123456language_pack_1031.exe"},
        {false, 0, L"C:\\setup\\component\\0version.xml", L"C:\\setup\\component\\0language_pack_1031.exe"},
        // The counter printed as a signed 32-bit value, as it wraps after 24.8 days.
        {false, 0x80000000u, L"C:\\setup\\component\\-2147483648version.xml",
         L"C:\\setup\\component\\-2147483648language_pack_1031.exe"},
        {false, 0xFFFFFFFFu, L"C:\\setup\\component\\-1version.xml",
         L"C:\\setup\\component\\-1language_pack_1031.exe"},
        {true, 123456, L"C:\\setup\\component\\version.xml", L"C:\\setup\\component\\language_pack_1031.exe"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.standalone ? "standalone" : "web") << ", tick " << c.tick);
        InstallerConfig config = PackageConfig(c.standalone);
        EXPECT_EQ(MakeDownloadPath(config, L"version.xml", c.tick), c.download);
        EXPECT_EQ(MakeLanguagePackPath(config, 1031, c.tick), c.languagePack);
    }
}

// The process-wide variant takes the folder from TheConfig() and the
// current tick count.
TEST(DownloadPathsTest, CurrentTickCountNamesEachWebDownload)
{
    InstallerConfig saved = TheConfig();
    TheConfig() = PackageConfig(false);
    DWORD before = GetTickCount();
    std::wstring path = MakeDownloadPath(L"version.xml");
    DWORD after = GetTickCount();
    TheConfig().manifest.standalone = true;
    std::wstring standalone = MakeLanguagePackPath(1031);
    TheConfig() = saved;

    const std::wstring folder = L"C:\\setup\\component\\";
    ASSERT_EQ(path.compare(0, folder.size(), folder), 0) << std::string(path.begin(), path.end());
    ASSERT_GT(path.size(), folder.size() + 11);
    ASSERT_EQ(path.substr(path.size() - 11), L"version.xml");
    std::wstring digits = path.substr(folder.size(), path.size() - folder.size() - 11);
    DWORD tick = static_cast<DWORD>(std::stol(digits));
    EXPECT_EQ(std::to_wstring(static_cast<int32_t>(tick)), digits);
    EXPECT_LE(tick - before, after - before) << "a tick between the calls before and after";
    EXPECT_EQ(standalone, folder + L"language_pack_1031.exe");
}

}  // namespace
