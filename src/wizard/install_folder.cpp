#include "wizard/install_folder.h"

#include <windows.h>

#include <shlwapi.h>

std::wstring WithoutOneTrailingBackslash(const std::wstring& path)
{
    if (!path.empty() && path.back() == L'\\')
        return path.substr(0, path.size() - 1);
    return path;
}

std::vector<std::wstring> FolderLevels(const std::wstring& path)
{
    std::vector<std::wstring> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find(L'\\', start);
        if (end == std::wstring::npos)
            end = path.size();
        if (end > start)
            parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }

    const bool leadingBackslash = !path.empty() && path[0] == L'\\';
    std::wstring accumulated;
    size_t next = 0;
    if (path.size() >= 2 && path[0] == L'\\' && path[1] == L'\\' && !parts.empty()) {
        accumulated = L"\\\\" + parts[0];
        next = 1;
    }
    std::vector<std::wstring> levels;
    for (; next < parts.size(); ++next) {
        if (!(accumulated.empty() && !leadingBackslash))
            accumulated += L'\\';
        accumulated += parts[next];
        if (accumulated.back() != L':')
            levels.push_back(accumulated);
    }
    return levels;
}

static bool IsDirectory(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool CreateFolderLevels(const std::wstring& path)
{
    if (PathIsRelativeW(path.c_str()))
        return false;
    if (IsDirectory(path))
        return true;
    for (const std::wstring& level : FolderLevels(path)) {
        if (GetFileAttributesW(level.c_str()) != INVALID_FILE_ATTRIBUTES)
            continue;
        if (!CreateDirectoryW(level.c_str(), nullptr))
            return false;
    }
    return true;
}
