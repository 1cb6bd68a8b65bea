// Start-up benchmark, one measurement per call:
//
//   startup_bench installer SETUP BASEURL EXE   EXE (PictoraSetup.exe)
//                                               copied beside the sample
//                                               manifest in SETUP and run
//                                               as a user runs it: its
//                                               self-update check against
//                                               BASEURL, then the wizard
//   startup_bench bare EXE FOLDER               EXE (bare_window.exe), a
//                                               program that paints one
//                                               window, logging to FOLDER
//
// Each program logs the moment its first window is painted (the installer:
// "page 137 first painted", the settings page); the time is the one of
// that log line less the moment just before the process was created, both
// on the local clock the log uses. The program is ended once the line is
// there. Prints "RESULT <variant> <milliseconds>" (-1: no paint within a
// minute). A benchmark never fails on a figure.
#include <windows.h>

#include <cstdio>
#include <string>

#include "bench_support.h"

using namespace bench;

namespace {

// Now on the local clock, in 100 ns units.
ULONGLONG LocalNow()
{
    FILETIME utc, local;
    GetSystemTimePreciseAsFileTime(&utc);
    FileTimeToLocalFileTime(&utc, &local);
    return (ULONGLONG(local.dwHighDateTime) << 32) | local.dwLowDateTime;
}

std::string ReadAll(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    std::string text;
    char block[65536];
    DWORD read = 0;
    while (ReadFile(file, block, sizeof block, &read, nullptr) && read > 0)
        text.append(block, read);
    CloseHandle(file);
    return text;
}

// The stamp "YYYY-MM-DD HH:MM:SS.mmm" that opens the log line holding
// `marker`, in 100 ns units; 0 when there is none yet.
ULONGLONG StampOf(const std::string& log, const std::string& marker)
{
    size_t at = log.find(marker);
    if (at == std::string::npos)
        return 0;
    size_t line = log.rfind('\n', at);
    line = line == std::string::npos ? 0 : line + 1;
    SYSTEMTIME t{};
    int year, month, day, hour, minute, second, ms;
    if (sscanf(log.c_str() + line, "%d-%d-%d %d:%d:%d.%d", &year, &month, &day, &hour, &minute, &second, &ms) != 7)
        return 0;
    t.wYear = WORD(year), t.wMonth = WORD(month), t.wDay = WORD(day);
    t.wHour = WORD(hour), t.wMinute = WORD(minute), t.wSecond = WORD(second), t.wMilliseconds = WORD(ms);
    FILETIME stamp;
    if (!SystemTimeToFileTime(&t, &stamp))
        return 0;
    return (ULONGLONG(stamp.dwHighDateTime) << 32) | stamp.dwLowDateTime;
}

// Starts `commandLine`, waits for `marker` in `log`, ends the process;
// the milliseconds from just before the start to the marker's stamp.
double MeasureToPaint(std::wstring commandLine, const std::wstring& log, const std::string& marker)
{
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    const ULONGLONG before = LocalNow();
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return -1;
    ULONGLONG stamp = 0;
    for (int i = 0; i < 6000 && !stamp; ++i) {
        Sleep(10);
        stamp = StampOf(ReadAll(log), marker);
    }
    TerminateProcess(info.hProcess, 0);
    WaitForSingleObject(info.hProcess, 10000);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    // The stamp has whole milliseconds; the start is truncated the same way.
    return stamp ? double(stamp / 10000) - double(before / 10000) : -1;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    std::wstring variant = argc > 1 ? argv[1] : L"";
    if (variant == L"installer" && argc == 5) {
        const std::wstring setup = argv[2];
        const std::wstring copy = setup + L"\\PictoraSetup.exe";
        const std::wstring log = setup + L"\\setup.log";
        DeleteFileW(log.c_str());
        if (!WriteManifest(setup, argv[3]) || !CopyFileW(argv[4], copy.c_str(), FALSE))
            return 1;
        double ms = MeasureToPaint(L"\"" + copy + L"\" /log \"" + log + L"\"", log, "page 137 first painted");
        wprintf(L"RESULT installer %.0f\n", ms);
        return 0;
    }
    if (variant == L"bare" && argc == 4) {
        const std::wstring log = std::wstring(argv[3]) + L"\\bare.log";
        DeleteFileW(log.c_str());
        double ms = MeasureToPaint(L"\"" + std::wstring(argv[2]) + L"\" \"" + log + L"\"", log, "first painted");
        wprintf(L"RESULT bare %.0f\n", ms);
        return 0;
    }
    fwprintf(stderr, L"usage: startup_bench installer SETUP BASEURL EXE | bare EXE FOLDER\n");
    return 2;
}
