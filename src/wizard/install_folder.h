// The installation folder the settings panel accepts: the path as typed
// (one trailing backslash removed), refused when relative, and created one
// level at a time where it does not exist yet.
#pragma once

#include <string>
#include <vector>

// `path` without one trailing backslash ("C:\a\\" keeps one).
std::wstring WithoutOneTrailingBackslash(const std::wstring& path);

// The folders along `path` that are looked for and created when missing,
// outermost first: a bare drive ("C:") is passed over, and a network path
// starts at its share ("\\server\share"), the server itself never being a
// folder of its own.
std::vector<std::wstring> FolderLevels(const std::wstring& path);

// Checks `path` (already without its trailing backslash) and creates its
// missing levels. False for a relative path or a level that cannot be
// made; the levels made before that stay.
bool CreateFolderLevels(const std::wstring& path);
