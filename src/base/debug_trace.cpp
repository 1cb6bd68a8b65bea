#include "base/debug_trace.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <string_view>
#include <vector>

#include "base/unique_handle.h"

namespace {

constexpr wchar_t kLogFileName[] = L"PictoraSetup.log";
constexpr wchar_t kPreviousLogFileName[] = L"PictoraSetup.old.log";

// The log shared by every thread. The file is opened at the first trace and
// kept open, so a trace costs one write: thousands of installer messages
// are traced per installation. Each trace is one WriteFile on an
// append-only handle, so its lines go to the file system at once (a crash
// of the process loses none of them; the file is not flushed to disk per
// trace, which would cost a disk write each time) and land whole at the
// end of the file, even when another process appends to it meanwhile.
struct TraceLog {
    SRWLOCK lock = SRWLOCK_INIT;
    std::wstring path;  // empty: the default in the temporary folder
    UniqueHandle file;
    // Whether the size of the default log was looked at in this run.
    bool rotationChecked = false;
};

// Holds the log's lock for one scope.
class LogLock {
public:
    explicit LogLock(SRWLOCK& lock) : lock_(lock) { AcquireSRWLockExclusive(&lock_); }
    ~LogLock() { ReleaseSRWLockExclusive(&lock_); }
    LogLock(const LogLock&) = delete;
    LogLock& operator=(const LogLock&) = delete;

private:
    SRWLOCK& lock_;
};

TraceLog& Log()
{
    // Never destroyed: destructors of other objects may still trace at exit.
    // The handle closes with the process.
    static TraceLog* log = new TraceLog;
    return *log;
}

UniqueHandle OpenForAppending(const std::wstring& path);

std::wstring TemporaryFile(const wchar_t* name)
{
    wchar_t folder[MAX_PATH + 1];
    DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH)
        return {};
    return std::wstring(folder, length) + name;
}

// The default log, once past its size, becomes the previous generation
// (replacing the one there), so that the log of one machine cannot grow
// without end. The names themselves are renamed, never what a link there
// points to. A rename that fails (another process holds the log without
// sharing its deletion) keeps the log as it is.
void RotateDefaultLog()
{
    std::wstring path = TemporaryFile(kLogFileName);
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (path.empty() || !GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return;
    uint64_t size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    if (size <= kLogRotationBytes || (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return;
    MoveFileExW(path.c_str(), TemporaryFile(kPreviousLogFileName).c_str(), MOVEFILE_REPLACE_EXISTING);
}

// Opens the log if it is not open yet; the caller holds the lock.
void OpenLocked(TraceLog& log)
{
    if (log.file)
        return;
    if (log.path.empty() && !log.rotationChecked) {
        log.rotationChecked = true;
        RotateDefaultLog();
    }
    log.file = OpenForAppending(log.path.empty() ? TemporaryFile(kLogFileName) : log.path);
}

// The installer runs elevated and the temporary folder belongs to the
// user: a link planted under the log's name must not make it append to
// another file. The name itself is opened (not what a link points to) and
// refused unless it is a plain file with a single name.
UniqueHandle OpenForAppending(const std::wstring& path)
{
    if (path.empty())
        return {};
    UniqueHandle file(CreateFileW(path.c_str(), FILE_APPEND_DATA | FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    if (!file || !GetFileInformationByHandle(file.Get(), &info))
        return {};
    if ((info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) ||
        info.nNumberOfLinks != 1)
        return {};
    return file;
}

void AppendUtf8(std::string& out, std::wstring_view text)
{
    if (text.empty())
        return;
    int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                   nullptr);
    if (size <= 0)
        return;
    size_t at = out.size();
    out.resize(at + size);
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data() + at, size, nullptr,
                        nullptr);
}

// One stamped line per line of the text, whatever its breaks ("\r\n",
// "\n" or "\r"); lines that hold nothing but blanks are left out.
std::string StampedLines(const std::wstring& text)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    char stamp[48];
    snprintf(stamp, sizeof stamp, "%04u-%02u-%02u %02u:%02u:%02u.%03u [%lu] ", now.wYear, now.wMonth, now.wDay,
             now.wHour, now.wMinute, now.wSecond, now.wMilliseconds, static_cast<unsigned long>(GetCurrentProcessId()));
    std::string lines;
    std::wstring_view rest(text);
    while (!rest.empty()) {
        size_t end = rest.find_first_of(L"\r\n");
        std::wstring_view line = rest.substr(0, end);
        rest = end == std::wstring_view::npos ? std::wstring_view() : rest.substr(end + 1);
        if (line.find_first_not_of(L" \t") == std::wstring_view::npos)
            continue;
        lines += stamp;
        AppendUtf8(lines, line);
        lines += "\r\n";
    }
    return lines;
}

void AppendToLog(const std::wstring& text)
{
    TraceLog& log = Log();
    // Stamped under the lock, so that the stamps in the file never go back.
    LogLock hold(log.lock);
    std::string lines = StampedLines(text);
    if (lines.empty())
        return;
    OpenLocked(log);
    DWORD written = 0;
    if (log.file)
        WriteFile(log.file.Get(), lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr);
}

}  // namespace

void DebugTrace(const std::wstring& text)
{
    OutputDebugStringW(text.c_str());
    AppendToLog(text);
}

void DebugTraceFormat(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list measure;
    va_copy(measure, args);
    int length = _vscwprintf(format, measure);
    va_end(measure);
    if (length >= 0) {
        std::vector<wchar_t> text(static_cast<size_t>(length) + 1);
        if (_vsnwprintf(text.data(), text.size(), format, args) >= 0)
            DebugTrace(std::wstring(text.data(), length));
    }
    va_end(args);
}

void SetDebugTraceLogPath(const std::wstring& path)
{
    TraceLog& log = Log();
    LogLock hold(log.lock);
    log.path = path;
    log.file.Reset();
    log.rotationChecked = false;
}

bool OpenDebugTraceLog()
{
    TraceLog& log = Log();
    LogLock hold(log.lock);
    OpenLocked(log);
    return static_cast<bool>(log.file);
}

std::wstring DefaultDebugTraceLogPath()
{
    return TemporaryFile(kLogFileName);
}

std::wstring PreviousDebugTraceLogPath()
{
    return TemporaryFile(kPreviousLogFileName);
}

void LogRunEnd(const std::wstring& outcome, int exitCode)
{
    DebugTraceFormat(L"PictoraSetup: run ended: %s, exit code %d.\r\n", outcome.c_str(), exitCode);
}
