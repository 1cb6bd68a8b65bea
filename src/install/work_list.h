// BuildWorkList: what an installation downloads and installs, in order,
// with the weights its progress is measured by.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "config/product_manifest.h"
#include "install/work_item.h"

// Item weights before normalisation.
inline constexpr uint32_t kPrerequisiteWeight = 40;
inline constexpr uint32_t kMainPackageWeight = 50;
inline constexpr uint32_t kTransformWeight = 5;
inline constexpr uint32_t kLanguagePackWeight = 5;

// The arguments a language pack is run with.
inline constexpr wchar_t kLanguagePackArguments[] = L"/s";

// Everything besides the manifest that decides the work list; the caller
// gathers it from the configuration, the registry and the user's choices.
struct WorkListChoices {
    // One verdict per entry of manifest.dependencies, in the same order:
    // true when that prerequisite is already on the machine. An entry
    // without a verdict counts as missing.
    std::vector<bool> prerequisitePresent;
    // The language packs installed with the existing copy, in the order
    // read (used only for an existing installation).
    std::vector<int32_t> installedLanguagePacks;
    // The chosen language (language.langId) and whether a choice of
    // languages was offered (hasLanguageChoice).
    int32_t langId = 1033;
    int32_t hasLanguageChoice = 0;
    // The application's existingInstall flag.
    int existingInstall = 0;
    // Folders, each with its trailing backslash.
    std::wstring msiFolder;
    std::wstring transformFolder;
    // Local paths of downloaded components: the download-path rule for a
    // file name and for a language pack's language (MakeDownloadPath and
    // MakeLanguagePackPath). Both must be set.
    std::function<std::wstring(const std::wstring& fileName)> downloadPath;
    std::function<std::wstring(int32_t langId)> languagePackPath;
};

struct WorkList {
    std::vector<WorkItem> items;
    // Normalised weights: one per item with needsDownload = 1, and one per
    // item, in work-list order.
    std::vector<uint32_t> downloadWeights;
    std::vector<uint32_t> installWeights;
};

// The work list: the missing prerequisites in manifest order, the main
// package, the transform for the chosen language (the first one listed),
// then the language packs (those installed before for an existing copy,
// else the chosen language's unless it is English or no choice was
// offered). Nothing is downloaded for a standalone manifest.
WorkList BuildWorkList(const ProductManifest& manifest, const WorkListChoices& choices);

// The local path of the transform for `langId`: transformFolder, the
// identifier in decimal, ".mst".
std::wstring TransformPath(const std::wstring& transformFolder, int32_t langId);
