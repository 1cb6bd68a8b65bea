// The settings page's folder rules: the levels looked for, and their
// creation on real folders.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/process_helpers.h"

using testing_support::FileExists;
using testing_support::IsFolder;
using testing_support::TempDir;
using testing_support::Utf8;
using testing_support::WriteFileBytes;
#include "wizard/install_folder.h"

namespace {

TEST(InstallFolder, OneTrailingBackslashIsRemoved)
{
    EXPECT_EQ(WithoutOneTrailingBackslash(L"C:\\Programs\\Pictora\\"), L"C:\\Programs\\Pictora");
    EXPECT_EQ(WithoutOneTrailingBackslash(L"C:\\Programs\\Pictora\\\\"), L"C:\\Programs\\Pictora\\");
    EXPECT_EQ(WithoutOneTrailingBackslash(L"C:\\Programs"), L"C:\\Programs");
    EXPECT_EQ(WithoutOneTrailingBackslash(L""), L"");
}

TEST(InstallFolder, LevelsAlongAPath)
{
    const struct {
        const wchar_t* path;
        std::vector<std::wstring> levels;
    } cases[] = {
        {L"C:\\a\\b", {L"C:\\a", L"C:\\a\\b"}},
        {L"C:\\a\\\\b", {L"C:\\a", L"C:\\a\\b"}},
        {L"C:", {}},
        {L"\\\\server\\share\\x", {L"\\\\server\\share", L"\\\\server\\share\\x"}},
        {L"\\top\\inner", {L"\\top", L"\\top\\inner"}},
        {L"relative\\part", {L"relative", L"relative\\part"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.path));
        EXPECT_EQ(FolderLevels(c.path), c.levels);
    }
}

TEST(InstallFolder, MissingLevelsAreCreatedOutermostFirst)
{
    TempDir temp;
    const std::wstring outer = temp / L"outer";
    const std::wstring inner = outer + L"\\inner";
    ASSERT_FALSE(IsFolder(outer));
    EXPECT_TRUE(CreateFolderLevels(inner));
    EXPECT_TRUE(IsFolder(outer));
    EXPECT_TRUE(IsFolder(inner));
    // An existing folder is accepted as it is.
    EXPECT_TRUE(CreateFolderLevels(inner));
}

TEST(InstallFolder, RefusedPathsCreateNothing)
{
    TempDir temp;
    EXPECT_FALSE(CreateFolderLevels(L"relative\\folder"));
    EXPECT_FALSE(IsFolder(L"relative"));

    // A level that cannot be made (under a file) fails; the levels before
    // it stay.
    const std::wstring file = temp / L"plain.txt";
    ASSERT_TRUE(WriteFileBytes(file, "x"));
    EXPECT_FALSE(CreateFolderLevels(file + L"\\below\\deeper"));
    EXPECT_FALSE(IsFolder(file + L"\\below"));
}

TEST(InstallFolder, APathThatIsAFileIsTakenAsItIs)
{
    TempDir temp;
    const std::wstring file = temp / L"plain.txt";
    ASSERT_TRUE(WriteFileBytes(file, "x"));
    EXPECT_TRUE(CreateFolderLevels(file));
    EXPECT_FALSE(IsFolder(file));
    EXPECT_TRUE(FileExists(file));
}

}  // namespace
