// BuildWorkList on one manifest and a table of choices: which items, in
// which order, and the weights their progress is measured by; then every
// field of each kind of item.
#include "install/work_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "install/process_command_line.h"

namespace {

// Three known prerequisites, two transforms for German, packs for English,
// German and French (none for Japanese).
ProductManifest TestManifest(bool standalone)
{
    ProductManifest m;
    m.standalone = standalone;
    m.dependencies = {
        {L"webview2.exe", L"http://h/webview2.exe", L"/silent /install"},
        {L"vc_redist.exe", L"http://h/vc_redist.exe", L"/install /quiet /norestart"},
        {L"bonjour.msi", L"http://h/bonjour.msi", L"/qn"},
    };
    m.mainComponentName = L"PictoraMaxora.msi";
    m.mainComponentUrl = L"http://h/PictoraMaxora.msi";
    m.transforms = {
        {1031, L"de-first.mst", L"http://h/de-first.mst"},
        {1036, L"fr.mst", L"http://h/fr.mst"},
        {1031, L"de-second.mst", L"http://h/de-second.mst"},
    };
    m.languagePacks = {
        {1033, L"", L"LP_EN.exe", L"http://h/LP_EN.exe"},
        {1031, L"", L"LP_DE.exe", L"http://h/LP_DE.exe"},
        {1036, L"", L"LP_FR.exe", L"http://h/LP_FR.exe"},
        {1031, L"", L"LP_DE_other.exe", L"http://h/LP_DE_other.exe"},
    };
    return m;
}

WorkListChoices TestChoices()
{
    WorkListChoices c;
    c.msiFolder = L"C:\\setup\\msi\\";
    c.transformFolder = L"C:\\setup\\transform\\";
    c.downloadPath = [](const std::wstring& name) { return L"C:\\setup\\component\\77" + name; };
    c.languagePackPath = [](int32_t id) {
        return L"C:\\setup\\component\\77language_pack_" + std::to_wstring(id) + L".exe";
    };
    return c;
}

std::vector<std::wstring> FileNames(const WorkList& list)
{
    std::vector<std::wstring> names;
    for (const WorkItem& item : list.items)
        names.push_back(item.fileName);
    return names;
}

struct WorkListCase {
    const char* what;
    bool standalone;
    std::vector<bool> prerequisitePresent;
    int32_t langId;
    int32_t hasLanguageChoice;
    int existingInstall;
    std::vector<int32_t> installedLanguagePacks;
    std::vector<std::wstring> fileNames;
    std::vector<uint32_t> downloadWeights;
    std::vector<uint32_t> installWeights;
};

const std::vector<bool> kAllPresent = {true, true, true};
const std::vector<bool> kAllMissing = {false, false, false};

const WorkListCase kWorkListCases[] = {
    {"prerequisites present, English: the main package alone", false, kAllPresent, 1033, 1, 0, {},
     {L"PictoraMaxora.msi"}, {100}, {100}},
    {"every prerequisite missing, in manifest order", false, kAllMissing, 1033, 1, 0, {},
     {L"webview2.exe", L"vc_redist.exe", L"bonjour.msi", L"PictoraMaxora.msi"}, {23, 23, 23, 31}, {23, 23, 23, 31}},
    {"only the middle prerequisite missing", false, {true, false, true}, 1033, 1, 0, {},
     {L"vc_redist.exe", L"PictoraMaxora.msi"}, {44, 56}, {44, 56}},
    {"verdicts for fewer dependencies: the rest count as missing", false, {true}, 1033, 1, 0, {},
     {L"vc_redist.exe", L"bonjour.msi", L"PictoraMaxora.msi"}, {30, 30, 40}, {30, 30, 40}},
    {"German chosen: the first of its two transforms and its first pack", false, kAllPresent, 1031, 1, 0, {},
     {L"PictoraMaxora.msi", L"de-first.mst", L"LP_DE.exe"}, {83, 8, 9}, {83, 8, 9}},
    {"German without a language choice: the transform, no pack", false, kAllPresent, 1031, 0, 0, {},
     {L"PictoraMaxora.msi", L"de-first.mst"}, {90, 10}, {90, 10}},
    {"English chosen from a list: no pack although the manifest has one", false, kAllPresent, 1033, 1, 0, {},
     {L"PictoraMaxora.msi"}, {100}, {100}},
    {"Japanese: no transform and no pack in the manifest", false, kAllPresent, 1041, 1, 0, {},
     {L"PictoraMaxora.msi"}, {100}, {100}},
    {"French with one prerequisite missing", false, {false, true, true}, 1036, 1, 0, {},
     {L"webview2.exe", L"PictoraMaxora.msi", L"fr.mst", L"LP_FR.exe"}, {40, 50, 5, 5}, {40, 50, 5, 5}},
    {"existing install: the packs installed before, not the chosen one", false, kAllPresent, 1031, 1, 1,
     {1036, 1041, 1033},
     {L"PictoraMaxora.msi", L"de-first.mst", L"LP_FR.exe", L"LP_EN.exe"}, {76, 7, 7, 10}, {76, 7, 7, 10}},
    {"existing install without installed packs", false, kAllPresent, 1036, 1, 1, {},
     {L"PictoraMaxora.msi", L"fr.mst"}, {90, 10}, {90, 10}},
    {"standalone: nothing downloaded, install weights still set", true, kAllMissing, 1031, 1, 0, {},
     {L"webview2.exe", L"vc_redist.exe", L"bonjour.msi", L"PictoraMaxora.msi", L"de-first.mst", L"LP_DE.exe"},
     {}, {22, 22, 22, 27, 2, 5}},
    {"standalone, main package only", true, kAllPresent, 1033, 0, 0, {}, {L"PictoraMaxora.msi"}, {}, {100}},
};

TEST(WorkList, ItemsAndWeightsForEachCase)
{
    for (const WorkListCase& c : kWorkListCases) {
        SCOPED_TRACE(c.what);
        WorkListChoices choices = TestChoices();
        choices.prerequisitePresent = c.prerequisitePresent;
        choices.langId = c.langId;
        choices.hasLanguageChoice = c.hasLanguageChoice;
        choices.existingInstall = c.existingInstall;
        choices.installedLanguagePacks = c.installedLanguagePacks;

        WorkList list = BuildWorkList(TestManifest(c.standalone), choices);

        EXPECT_EQ(FileNames(list), c.fileNames);
        EXPECT_EQ(list.downloadWeights, c.downloadWeights);
        EXPECT_EQ(list.installWeights, c.installWeights);
        for (const WorkItem& item : list.items)
            EXPECT_EQ(item.needsDownload, c.standalone ? 0 : 1) << testing::PrintToString(item.fileName);
    }
}

TEST(WorkList, EachKindOfItemCarriesItsAddressPathAndHowItIsInstalled)
{
    WorkListChoices choices = TestChoices();
    choices.prerequisitePresent = {true, false, true};
    choices.langId = 1031;
    choices.hasLanguageChoice = 1;
    WorkList list = BuildWorkList(TestManifest(false), choices);

    // fileName, url, localPath, arguments, needsDownload, runAsProcess, downloadOnly
    const std::vector<WorkItem> expected = {
        {L"vc_redist.exe", L"http://h/vc_redist.exe", L"C:\\setup\\component\\77vc_redist.exe",
         L"/install /quiet /norestart", 1, 1, 0},
        {L"PictoraMaxora.msi", L"http://h/PictoraMaxora.msi", L"C:\\setup\\msi\\PictoraMaxora.msi", L"", 1, 0, 0},
        // The transform is only downloaded: the main package applies it.
        {L"de-first.mst", L"http://h/de-first.mst", L"C:\\setup\\transform\\1031.mst", L"", 1, 0, 1},
        // A language pack is a program of its own, run silently.
        {L"LP_DE.exe", L"http://h/LP_DE.exe", L"C:\\setup\\component\\77language_pack_1031.exe", L"/s", 1, 1, 0},
    };
    ASSERT_EQ(list.items.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(testing::PrintToString(expected[i].fileName));
        EXPECT_EQ(list.items[i].fileName, expected[i].fileName);
        EXPECT_EQ(list.items[i].url, expected[i].url);
        EXPECT_EQ(list.items[i].localPath, expected[i].localPath);
        EXPECT_EQ(list.items[i].arguments, expected[i].arguments);
        EXPECT_EQ(list.items[i].needsDownload, expected[i].needsDownload);
        EXPECT_EQ(list.items[i].runAsProcess, expected[i].runAsProcess);
        EXPECT_EQ(list.items[i].downloadOnly, expected[i].downloadOnly);
    }
    // The language pack starts as its installer with "/s" after the quoted path.
    EXPECT_EQ(ProcessCommandLine(list.items[3]), L"\"C:\\setup\\component\\77language_pack_1031.exe\" /s");
}

TEST(WorkList, TransformPathIsTheFolderTheLanguageAndMst)
{
    EXPECT_EQ(TransformPath(L"C:\\setup\\transform\\", 2052), L"C:\\setup\\transform\\2052.mst");
    EXPECT_EQ(TransformPath(L"", 1031), L"1031.mst");
}

}  // namespace
