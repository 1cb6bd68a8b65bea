// Helpers shared by tests that run real programs and use real folders.
#pragma once

#include <windows.h>

#include <string>

namespace testing_support {

// The folder that holds the test executable (and every built program).
std::wstring BinaryDir();

// Removes `dir` with everything in it (a directory link inside is removed,
// not followed); nothing when it is not there.
void RemoveTree(const std::wstring& dir);

// A fresh folder under %TEMP%, removed with its contents on destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::wstring& Path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

// `text` in UTF-8.
std::string Utf8(const std::wstring& text);

// msiexec of the system folder, in double quotes, for a command line.
std::wstring MsiexecCommand();

bool FileExists(const std::wstring& path);
bool IsFolder(const std::wstring& path);
std::string ReadFileBytes(const std::wstring& path);
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);
bool CopyFileTo(const std::wstring& from, const std::wstring& to);

// Starts a program; returns its process handle (null on failure).
// Environment entries "NAME=value" are added to the inherited block.
HANDLE StartProcess(const std::wstring& commandLine, DWORD creationFlags = 0,
                    const std::wstring& extraEnvironment = L"");

// Runs a program to its end; returns its exit code, or -1 when it could
// not be started or did not end within timeoutMs (it is then killed).
long RunProcess(const std::wstring& commandLine, DWORD timeoutMs = 60000,
                const std::wstring& extraEnvironment = L"");

// A top-level window of class `className` ("#32770" for a message box) of
// process `id`: a visible one, or also a hidden one with `hiddenToo`.
HWND TopWindowOfProcess(DWORD id, const wchar_t* className, bool hiddenToo = false);

// Runs the built installer to its end as a user who cancels at once: when
// its wizard comes up (window class "ZYLMasterInstallerClassName", shown
// or, in silent mode, hidden) it is asked to close, and every box the
// process then shows is answered with Yes (or OK). `sawWizard` (may be
// null) tells whether the wizard came up. The exit code, or -1 when the
// process did not end within `timeoutMs` (it is then ended).
long RunInstallerCancellingWizard(const std::wstring& commandLine, DWORD timeoutMs = 90000,
                                  const std::wstring& extraEnvironment = L"", bool* sawWizard = nullptr);
// The same for an installer already started (the handle stays the caller's).
long FinishInstallerCancellingWizard(HANDLE process, DWORD timeoutMs = 90000, bool* sawWizard = nullptr);

// Makes `link` a directory link (a reparse point) to `target`: with
// CreateSymbolicLinkW where that gives one; where the system's links are
// not reparse points its file system shows (Wine 8 makes none), with the
// host's own "ln -s" on the host path of both, which the same system does
// show as one. True when `link` then reports FILE_ATTRIBUTE_REPARSE_POINT.
bool MakeDirectoryLink(const std::wstring& link, const std::wstring& target);

}  // namespace testing_support
