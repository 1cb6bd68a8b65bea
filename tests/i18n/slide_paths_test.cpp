// The slideshow pictures: which folder serves which DPI, which files count,
// in which order, and how long the list is kept.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>
#include <vector>

#include "i18n/slide_paths.h"
#include "i18n_test_support.h"
#include "ui/dpi.h"

using namespace i18n_testing;
using namespace testing_support;

namespace {

struct DpiCase {
    int dpi;
    int snapped;
    int percent;
};

const DpiCase kDpiCases[] = {
    {0, 0, 100},  // no screen context
    {96, 96, 100},   {110, 110, 100}, {119, 119, 100}, {120, 120, 125}, {130, 120, 125},
    {143, 120, 125}, {144, 144, 150}, {168, 144, 150}, {191, 144, 150}, {192, 192, 200},
    {200, 192, 200}, {288, 192, 200},
};

TEST(SlideFolderForDpi, SnapsTheDpiAndPicksTheScaleFolder)
{
    for (const DpiCase& c : kDpiCases) {
        SCOPED_TRACE(c.dpi);
        EXPECT_EQ(SnapDpi(c.dpi), c.snapped);
        EXPECT_EQ(SlideScalePercent(SnapDpi(c.dpi)), c.percent);
    }
    EXPECT_EQ(SlideFolder(LanguageResources{1031, L"D:\\setup\\language\\"}, 125),
              L"D:\\setup\\language\\1031\\slides\\125\\");
}

class SlideFolders : public ::testing::Test {
protected:
    // Makes language\<langId>\slides\<percent>\ and returns it.
    std::wstring MakeSlideFolder(int32_t langId, int percent)
    {
        std::wstring folder = SlideFolder(folders.Resources(langId), percent);
        EXPECT_EQ(SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr), ERROR_SUCCESS);
        return folder;
    }
    static void Touch(const std::wstring& path) { ASSERT_TRUE(WriteFileBytes(path, "\xFF\xD8\xFF\xD9")); }

    LanguageFolders folders;
};

TEST_F(SlideFolders, FindsOnlyJpgFilesSortedByName)
{
    std::wstring folder = MakeSlideFolder(1033, 100);
    // Created out of order, with names that a case-sensitive, lower-case
    // folding or creation-order listing would put elsewhere: NTFS compares
    // upper-cased names, so "_" (0x5F) follows the letters.
    const std::vector<std::wstring> created = {L"slide-10.jpg", L"b.jpg", L"C.JPG", L"a.jpg", L"d.Jpg",
                                               L"slide-02.jpg", L"c.png", L"e.jpeg", L"f.jpg.txt", L"_z.jpg"};
    for (const std::wstring& name : created)
        Touch(folder + name);
    ASSERT_TRUE(CreateDirectoryW((folder + L"folder.jpg").c_str(), nullptr));

    std::vector<std::wstring> expected;
    for (const wchar_t* name : {L"a.jpg", L"b.jpg", L"C.JPG", L"d.Jpg", L"slide-02.jpg", L"slide-10.jpg", L"_z.jpg"})
        expected.push_back(folder + name);
    EXPECT_EQ(FindSlideFiles(folder), expected);
}

TEST_F(SlideFolders, ManyFilesComeBackInNameOrderWhateverTheDirectoryOrder)
{
    std::wstring folder = MakeSlideFolder(1033, 150);
    std::vector<std::wstring> expected;
    for (int i = 0; i < 40; ++i) {
        wchar_t name[32];
        swprintf(name, 32, L"pic%02d.jpg", i);
        expected.push_back(folder + name);
    }
    // Created in a scrambled order.
    for (int i = 0; i < 40; ++i)
        Touch(expected[(i * 17) % 40]);
    EXPECT_EQ(FindSlideFiles(folder), expected);
}

TEST_F(SlideFolders, SkipsFilesWhosePathExceeds259Characters)
{
    // A folder whose path leaves room for a short name only.
    std::wstring folder = folders.ExeFolder() + L"\\";
    while (folder.size() < 230) {
        folder += L"deep\\";
        ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + folder).c_str(), nullptr));
    }
    const std::wstring fits(259 - folder.size() - 4, L'f');
    const std::wstring tooLong(260 - folder.size() - 4, L'g');
    Touch(L"\\\\?\\" + folder + fits + L".jpg");
    Touch(L"\\\\?\\" + folder + tooLong + L".jpg");
    Touch(L"\\\\?\\" + folder + L"a.jpg");

    const std::vector<std::wstring> expected = {folder + L"a.jpg", folder + fits + L".jpg"};
    EXPECT_EQ(FindSlideFiles(folder), expected);
}

TEST_F(SlideFolders, NoFolderOrNoPicturesGiveNothing)
{
    EXPECT_TRUE(FindSlideFiles(folders.LanguageFolder() + L"1033\\slides\\100\\").empty());
    std::wstring folder = MakeSlideFolder(1033, 100);
    Touch(folder + L"readme.txt");
    EXPECT_TRUE(FindSlideFiles(folder).empty());
}

TEST_F(SlideFolders, CacheSearchesUntilItFindsPicturesThenKeepsThem)
{
    SlideCache cache;
    LanguageResources english = folders.Resources(1033);
    std::wstring at96 = MakeSlideFolder(1033, 100);
    EXPECT_TRUE(cache.Get(english, 96).empty());

    Touch(at96 + L"one.jpg");
    const std::vector<std::wstring> first = {at96 + L"one.jpg"};
    EXPECT_EQ(cache.Get(english, 96), first);

    // Neither more pictures, another language nor another DPI refill it.
    Touch(at96 + L"two.jpg");
    Touch(MakeSlideFolder(1031, 200) + L"zwei.jpg");
    EXPECT_EQ(cache.Get(english, 96), first);
    EXPECT_EQ(cache.Get(folders.Resources(1031), 192), first);
}

// The real screen DPI: the probe is started with the prefix's screen DPI
// set for it ("LogPixels", read at process start), and reports what
// SnappedDpi and GetSlidePaths give there.
TEST_F(SlideFolders, GetSlidePathsUsesTheFolderOfTheScreenDpi)
{
    for (int percent : {100, 125, 150, 200})
        Touch(MakeSlideFolder(1036, percent) + L"slide" + std::to_wstring(percent) + L".jpg");
    const std::wstring report = folders.ExeFolder() + L"\\probe.txt";
    const std::wstring probe = BinaryDir() + L"\\slide_probe.exe";
    ASSERT_TRUE(FileExists(probe));

    const DpiCase cases[] = {{96, 96, 100}, {110, 110, 100}, {120, 120, 125}, {144, 144, 150}, {192, 192, 200}};
    SavedRegistryValue logPixels(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels");
    for (const DpiCase& c : cases) {
        SCOPED_TRACE(c.dpi);
        ASSERT_TRUE(logPixels.SetNumber(static_cast<DWORD>(c.dpi)));
        DeleteFileW(report.c_str());
        // The folder's trailing backslash is doubled so that it does not
        // escape the closing quote.
        ASSERT_EQ(RunProcess(L"\"" + probe + L"\" \"" + folders.LanguageFolder() + L"\\\" 1036 \"" + report + L"\""),
                  0);
        std::string bytes = ReadFileBytes(report);
        std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
        std::wstring expected = std::to_wstring(c.snapped) + L"\n" +
                                SlideFolder(folders.Resources(1036), c.percent) + L"slide" +
                                std::to_wstring(c.percent) + L".jpg\n";
        EXPECT_EQ(text, expected);
    }
}

}  // namespace
