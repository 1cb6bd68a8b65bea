#include "support/process_helpers.h"

#include <vector>

namespace testing_support {

std::wstring BinaryDir()
{
    wchar_t self[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self, n);
    return path.substr(0, path.find_last_of(L"\\/"));
}

TempDir::TempDir()
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    static LONG counter = 0;
    for (;;) {
        path_ = std::wstring(temp) + L"pictora-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(InterlockedIncrement(&counter));
        if (CreateDirectoryW(path_.c_str(), nullptr))
            break;
    }
}

void RemoveTree(const std::wstring& dir)
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((dir + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = data.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring full = dir + L"\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
                RemoveDirectoryW(full.c_str()) || DeleteFileW(full.c_str());  // the link, not what it names
            else if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(full);
            else {
                SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(full.c_str());
            }
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(dir.c_str());
}

TempDir::~TempDir()
{
    RemoveTree(path_);
}

bool FileExists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsFolder(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ReadFileBytes(const std::wstring& path)
{
    std::string bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    char buffer[65536];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    CloseHandle(file);
    return bytes;
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
              written == bytes.size();
    CloseHandle(file);
    return ok;
}

bool CopyFileTo(const std::wstring& from, const std::wstring& to)
{
    return CopyFileW(from.c_str(), to.c_str(), FALSE) != 0;
}

HANDLE StartProcess(const std::wstring& commandLine, DWORD creationFlags, const std::wstring& extraEnvironment)
{
    std::vector<wchar_t> environment;
    if (!extraEnvironment.empty()) {
        // The extra entries, then every inherited one they do not replace.
        std::vector<std::wstring> entries;
        size_t start = 0;
        while (start < extraEnvironment.size()) {
            size_t end = extraEnvironment.find(L'\n', start);
            if (end == std::wstring::npos)
                end = extraEnvironment.size();
            entries.push_back(extraEnvironment.substr(start, end - start));
            start = end + 1;
        }
        size_t added = entries.size();
        wchar_t* block = GetEnvironmentStringsW();
        for (const wchar_t* p = block; *p; p += wcslen(p) + 1) {
            std::wstring entry = p;
            std::wstring name = entry.substr(0, entry.find(L'=', 1));
            bool replaced = false;
            for (size_t i = 0; i < added; ++i)
                replaced |= _wcsicmp(entries[i].substr(0, entries[i].find(L'=')).c_str(), name.c_str()) == 0;
            if (!replaced)
                entries.push_back(entry);
        }
        FreeEnvironmentStringsW(block);
        for (const std::wstring& entry : entries)
            environment.insert(environment.end(), entry.c_str(), entry.c_str() + entry.size() + 1);
        environment.push_back(L'\0');
        creationFlags |= CREATE_UNICODE_ENVIRONMENT;
    }
    std::wstring line = commandLine;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, creationFlags,
                        environment.empty() ? nullptr : environment.data(), nullptr, &startup, &info))
        return nullptr;
    CloseHandle(info.hThread);
    return info.hProcess;
}

long RunProcess(const std::wstring& commandLine, DWORD timeoutMs, const std::wstring& extraEnvironment)
{
    HANDLE process = StartProcess(commandLine, 0, extraEnvironment);
    if (!process)
        return -1;
    long result = -1;
    if (WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0) {
        DWORD code = 0;
        GetExitCodeProcess(process, &code);
        result = static_cast<long>(code);
    } else {
        TerminateProcess(process, 1);
    }
    CloseHandle(process);
    return result;
}

HWND TopWindowOfProcess(DWORD id, const wchar_t* className, bool hiddenToo)
{
    struct Search {
        DWORD id;
        const wchar_t* className;
        bool hiddenToo;
        HWND found;
    } search{id, className, hiddenToo, nullptr};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            wchar_t name[64] = {};
            GetClassNameW(window, name, 64);
            if (owner != s->id || (!s->hiddenToo && !IsWindowVisible(window)) || std::wstring(name) != s->className)
                return TRUE;
            s->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

long FinishInstallerCancellingWizard(HANDLE process, DWORD timeoutMs, bool* sawWizard)
{
    const DWORD id = GetProcessId(process);
    bool seen = false;
    for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs;) {
        if (WaitForSingleObject(process, 100) == WAIT_OBJECT_0) {
            DWORD code = 1;
            GetExitCodeProcess(process, &code);
            if (sawWizard)
                *sawWizard = seen;
            return static_cast<long>(code);
        }
        if (!seen) {
            if (HWND wizard = TopWindowOfProcess(id, L"ZYLMasterInstallerClassName", true)) {
                PostMessageW(wizard, WM_CLOSE, 0, 0);
                seen = true;
            }
        }
        if (HWND box = TopWindowOfProcess(id, L"#32770", false); seen && box) {
            const int answer = GetDlgItem(box, IDYES) ? IDYES : IDOK;
            PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
        }
    }
    TerminateProcess(process, 1);
    WaitForSingleObject(process, 10000);
    if (sawWizard)
        *sawWizard = seen;
    return -1;
}

long RunInstallerCancellingWizard(const std::wstring& commandLine, DWORD timeoutMs,
                                  const std::wstring& extraEnvironment, bool* sawWizard)
{
    HANDLE process = StartProcess(commandLine, 0, extraEnvironment);
    if (!process)
        return -1;
    const long result = FinishInstallerCancellingWizard(process, timeoutMs, sawWizard);
    CloseHandle(process);
    return result;
}

std::string Utf8(const std::wstring& text)
{
    int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(size > 0 ? size - 1 : 0, '\0');
    if (size > 1)
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8.data(), size, nullptr, nullptr);
    return utf8;
}

std::wstring MsiexecCommand()
{
    wchar_t system[MAX_PATH];
    UINT length = GetSystemDirectoryW(system, MAX_PATH);
    return L"\"" + std::wstring(system, length) + L"\\msiexec.exe\"";
}

namespace {

bool IsReparsePoint(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

}  // namespace

bool MakeDirectoryLink(const std::wstring& link, const std::wstring& target)
{
    if (CreateSymbolicLinkW(link.c_str(), target.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY) && IsReparsePoint(link))
        return true;
    RemoveDirectoryW(link.c_str());
    DeleteFileW(link.c_str());
    using UnixName = char*(__cdecl*)(const wchar_t*);
    auto unixName = reinterpret_cast<UnixName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!unixName)
        return false;
    auto host = [unixName](const std::wstring& path) {
        char* name = unixName(path.c_str());
        std::string text = name ? name : "";
        HeapFree(GetProcessHeap(), 0, name);
        return std::wstring(text.begin(), text.end());
    };
    // A host program cannot be waited for through its handle: wait for the link.
    if (HANDLE started = StartProcess(L"Z:\\bin\\ln -s \"" + host(target) + L"\" \"" + host(link) + L"\"", 0, L""))
        CloseHandle(started);
    for (int i = 0; i < 200 && !IsReparsePoint(link); ++i)
        Sleep(25);
    return IsReparsePoint(link);
}

}  // namespace testing_support
