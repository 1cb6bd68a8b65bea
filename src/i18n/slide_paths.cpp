#include "i18n/slide_paths.h"

#include <windows.h>

#include <algorithm>
#include <string_view>

#include "base/unique_handle.h"
#include "ui/dpi.h"

namespace {

// The longest path the slide loader takes, in UTF-16 units.
constexpr size_t kMaxSlidePath = MAX_PATH - 1;

bool HasJpgExtension(std::wstring_view name)
{
    constexpr std::wstring_view kExtension = L".jpg";
    return name.size() > kExtension.size() &&
           CompareStringOrdinal(name.data() + name.size() - kExtension.size(), static_cast<int>(kExtension.size()),
                                kExtension.data(), static_cast<int>(kExtension.size()), TRUE) == CSTR_EQUAL;
}

bool NameBefore(const std::wstring& a, const std::wstring& b)
{
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                TRUE) == CSTR_LESS_THAN;
}

}  // namespace

int SlideScalePercent(int snappedDpi)
{
    if (snappedDpi >= 192)
        return 200;
    if (snappedDpi >= 144)
        return 150;
    if (snappedDpi < 120)
        return 100;
    return 125;
}

std::wstring SlideFolder(const LanguageResources& resources, int scalePercent)
{
    return resources.languageFolder + std::to_wstring(resources.langId) + L"\\slides\\" +
           std::to_wstring(scalePercent) + L"\\";
}

std::vector<std::wstring> FindSlideFiles(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    UniqueFindHandle search(FindFirstFileW((folder + L"*.jpg").c_str(), &found));
    if (!search)
        return {};
    do {
        std::wstring_view name(found.cFileName);
        // The pattern also matches through short 8.3 names ("x.jpgx") and
        // matches folders; only real .jpg files are pictures.
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !HasJpgExtension(name))
            continue;
        if (folder.size() + name.size() > kMaxSlidePath)
            continue;
        names.emplace_back(name);
    } while (FindNextFileW(search.Get(), &found));

    std::sort(names.begin(), names.end(), NameBefore);
    std::vector<std::wstring> paths;
    paths.reserve(names.size());
    for (const std::wstring& name : names)
        paths.push_back(folder + name);
    return paths;
}

std::vector<std::wstring> SlideCache::Get(const LanguageResources& resources, int snappedDpi)
{
    if (paths_.empty())
        paths_ = FindSlideFiles(SlideFolder(resources, SlideScalePercent(snappedDpi)));
    return paths_;
}

std::vector<std::wstring> GetSlidePaths(const LanguageResources& resources)
{
    static SlideCache cache;
    return cache.Get(resources, SnappedDpi());
}
