// Debug traces: the debugger's output and the log file beside it.
#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <regex>
#include <string>
#include <vector>

#include "base/debug_trace.h"
#include "base/unique_handle.h"
#include "support/process_helpers.h"

using namespace testing_support;

namespace {

const std::regex kStampedLine(R"((\d{4})-(\d\d)-(\d\d) (\d\d):(\d\d):(\d\d)\.(\d{3}) \[(\d+)\] (.*))");

ULONGLONG Ticks(const SYSTEMTIME& time)
{
    FILETIME file;
    if (!SystemTimeToFileTime(&time, &file))
        return 0;
    return (static_cast<ULONGLONG>(file.dwHighDateTime) << 32) | file.dwLowDateTime;
}

ULONGLONG LocalNow()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return Ticks(now);
}

struct StampedLine {
    ULONGLONG stamp = 0;  // 0: the line has no valid stamp
    unsigned long processId = 0;
    std::string text;
};

// The file's lines, each split into its stamp and its text. Every line,
// the last one too, must end with "\r\n".
std::vector<StampedLine> ReadLog(const std::wstring& path)
{
    std::string bytes = ReadFileBytes(path);
    std::vector<StampedLine> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find("\r\n", start);
        EXPECT_NE(end, std::string::npos) << "unterminated last line: " << bytes.substr(start);
        if (end == std::string::npos)
            end = bytes.size();
        std::string line = bytes.substr(start, end - start);
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "a break inside a line: " << line;
        StampedLine parsed;
        std::smatch m;
        if (std::regex_match(line, m, kStampedLine)) {
            SYSTEMTIME time{};
            time.wYear = static_cast<WORD>(std::stoi(m[1]));
            time.wMonth = static_cast<WORD>(std::stoi(m[2]));
            time.wDay = static_cast<WORD>(std::stoi(m[3]));
            time.wHour = static_cast<WORD>(std::stoi(m[4]));
            time.wMinute = static_cast<WORD>(std::stoi(m[5]));
            time.wSecond = static_cast<WORD>(std::stoi(m[6]));
            time.wMilliseconds = static_cast<WORD>(std::stoi(m[7]));
            parsed.stamp = Ticks(time);
            parsed.processId = std::stoul(m[8]);
            parsed.text = m[9];
        } else {
            parsed.text = line;
        }
        lines.push_back(parsed);
        start = end + 2;
    }
    return lines;
}

// Receives this process's debug output the way a debug monitor does (the
// shared buffer and the two events of OutputDebugString), while it lives.
class DebugOutputMonitor {
public:
    DebugOutputMonitor()
        : ready_(CreateEventW(nullptr, FALSE, FALSE, L"DBWIN_BUFFER_READY")),
          data_(CreateEventW(nullptr, FALSE, FALSE, L"DBWIN_DATA_READY")),
          stop_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
          mapping_(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(Buffer),
                                      L"DBWIN_BUFFER"))
    {
        if (mapping_)
            buffer_ = static_cast<const Buffer*>(MapViewOfFile(mapping_.Get(), FILE_MAP_READ, 0, 0, 0));
        if (ready_ && data_ && stop_ && buffer_)
            thread_.Reset(CreateThread(nullptr, 0, &DebugOutputMonitor::Run, this, 0, nullptr));
    }
    ~DebugOutputMonitor()
    {
        SetEvent(stop_.Get());
        if (thread_)
            WaitForSingleObject(thread_.Get(), 10000);
        if (buffer_)
            UnmapViewOfFile(buffer_);
    }
    bool Listening() const { return static_cast<bool>(thread_); }

    // Waits until `text` has arrived; false at the deadline.
    bool WaitFor(const std::string& text, DWORD timeoutMs = 5000)
    {
        for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(20)) {
            AcquireSRWLockShared(&lock_);
            bool seen = received_.find(text) != std::string::npos;
            ReleaseSRWLockShared(&lock_);
            if (seen)
                return true;
        }
        return false;
    }

private:
    struct Buffer {
        DWORD processId;
        char text[4096 - sizeof(DWORD)];
    };

    static DWORD WINAPI Run(void* self)
    {
        auto& monitor = *static_cast<DebugOutputMonitor*>(self);
        HANDLE waits[] = {monitor.data_.Get(), monitor.stop_.Get()};
        for (;;) {
            SetEvent(monitor.ready_.Get());
            if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0)
                return 0;
            if (monitor.buffer_->processId != GetCurrentProcessId())
                continue;
            std::string text(monitor.buffer_->text, strnlen(monitor.buffer_->text, sizeof monitor.buffer_->text));
            AcquireSRWLockExclusive(&monitor.lock_);
            monitor.received_ += text;
            ReleaseSRWLockExclusive(&monitor.lock_);
        }
    }

    UniqueHandle ready_, data_, stop_, mapping_, thread_;
    const Buffer* buffer_ = nullptr;
    SRWLOCK lock_ = SRWLOCK_INIT;
    std::string received_;
};

class DebugTraceLog : public ::testing::Test {
protected:
    void SetUp() override { SetDebugTraceLogPath(log); }
    void TearDown() override { SetDebugTraceLogPath(L""); }

    TempDir dir;
    std::wstring log = dir / L"trace.log";
};

TEST_F(DebugTraceLog, EachLineOfATraceIsStampedWithTheLocalTime)
{
    struct Case {
        const wchar_t* text;
        std::vector<std::string> lines;
    } cases[] = {
        {L"PictoraSetup: single-instance guard taken.\r\n", {"PictoraSetup: single-instance guard taken."}},
        {L"no break at the end", {"no break at the end"}},
        // The installer message handler's form: the break comes first.
        {L"\r\n Action 12:00:01: InstallFiles. Copying new files", {" Action 12:00:01: InstallFiles. Copying new files"}},
        {L"first\r\nsecond\nthird\rfourth\r\n", {"first", "second", "third", "fourth"}},
        {L"kept\r\n\r\n   \r\n\t\r\nafter the blank lines", {"kept", "after the blank lines"}},
        {L"\r\n", {}},
        {L"", {}},
        {L"Gr\u00f6\u00dfe \u65e5\u672c\u8a9e \U0001F5BC", {"Gr\xc3\xb6\xc3\x9f" "e \xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e \xf0\x9f\x96\xbc"}},
    };
    int index = 0;
    for (const Case& c : cases) {
        std::wstring file = dir / (L"case" + std::to_wstring(++index) + L".log");
        SetDebugTraceLogPath(file);
        ULONGLONG before = LocalNow();
        DebugTrace(c.text);
        ULONGLONG after = LocalNow();
        SetDebugTraceLogPath(log);

        std::vector<StampedLine> lines = ReadLog(file);
        ASSERT_EQ(lines.size(), c.lines.size()) << "case " << index << ": " << ReadFileBytes(file);
        for (size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(lines[i].text, c.lines[i]) << "case " << index;
            EXPECT_EQ(lines[i].processId, GetCurrentProcessId()) << "case " << index;
            // The stamp has millisecond precision; the clock may have less.
            EXPECT_GE(lines[i].stamp + 10000 * 20, before) << "case " << index << " stamp before the trace";
            EXPECT_LE(lines[i].stamp, after + 10000) << "case " << index << " stamp after the trace";
        }
    }
}

TEST_F(DebugTraceLog, FormattedTracesTakeWideStrings)
{
    DebugTraceFormat(L"KESTO_DEBUG: MSI Installation failed. Error Code: %d\r\n", 1603);
    DebugTraceFormat(L"\r\n %s", L"Info 1234. A wide message \u00e9");
    DebugTraceFormat(L"%s: %lu of %d%%", L"steps", 3ul, 7);
    std::vector<StampedLine> lines = ReadLog(log);
    ASSERT_EQ(lines.size(), 3u) << ReadFileBytes(log);
    EXPECT_EQ(lines[0].text, "KESTO_DEBUG: MSI Installation failed. Error Code: 1603");
    EXPECT_EQ(lines[1].text, " Info 1234. A wide message \xc3\xa9");
    EXPECT_EQ(lines[2].text, "steps: 3 of 7%");
}

TEST_F(DebugTraceLog, AppendsToWhatTheFileHolds)
{
    const std::string earlier = "2020-01-01 10:00:00.000 an earlier run\r\n";
    ASSERT_TRUE(WriteFileBytes(log, earlier));
    SetDebugTraceLogPath(log);
    DebugTrace(L"this run\r\n");
    // Opened afresh: still appended.
    SetDebugTraceLogPath(log);
    DebugTrace(L"this run again\r\n");

    std::string bytes = ReadFileBytes(log);
    EXPECT_EQ(bytes.substr(0, earlier.size()), earlier);
    std::vector<StampedLine> lines = ReadLog(log);
    ASSERT_EQ(lines.size(), 3u) << bytes;
    EXPECT_EQ(lines[1].text, "this run");
    EXPECT_EQ(lines[2].text, "this run again");
}

// The installer itself writes to "PictoraSetup.log" in its temporary
// folder while this process keeps the same file open: the lines of both
// end up in the order written, none overwritten.
TEST_F(DebugTraceLog, InstallerAppendsToTheLogInItsTemporaryFolder)
{
    TempDir setup, temporary;
    ASSERT_TRUE(CopyFileTo(BinaryDir() + L"\\PictoraSetup.exe", setup / L"PictoraSetup.exe"));
    std::wstring shared = temporary / L"PictoraSetup.log";
    SetDebugTraceLogPath(shared);
    DebugTrace(L"test: before the installer\r\n");
    // The installer runs on into its (hidden) wizard, which is cancelled
    // at once.
    ASSERT_EQ(RunInstallerCancellingWizard(L"\"" + (setup / L"PictoraSetup.exe") + L"\" /s /n", 60000,
                                           L"TMP=" + temporary.Path() + L"\nTEMP=" + temporary.Path()),
              1602);
    DebugTrace(L"test: after the installer\r\n");

    std::vector<StampedLine> lines = ReadLog(shared);
    ASSERT_GE(lines.size(), 3u) << "the installer wrote nothing: " << ReadFileBytes(shared);
    EXPECT_EQ(lines.front().text, "test: before the installer");
    EXPECT_EQ(lines.back().text, "test: after the installer");
    for (const StampedLine& line : lines)
        EXPECT_NE(line.stamp, 0u) << line.text;
    // The installer's lines carry its own process id, not this one's.
    for (size_t i = 1; i + 1 < lines.size(); ++i) {
        EXPECT_NE(lines[i].processId, 0u) << lines[i].text;
        EXPECT_NE(lines[i].processId, GetCurrentProcessId()) << lines[i].text;
    }
    SetDebugTraceLogPath(L"");
}

TEST_F(DebugTraceLog, TracesOfTwoThreadsKeepTheirLinesWhole)
{
    constexpr int kTraces = 500;
    auto writer = [](void* name) -> DWORD {
        std::wstring thread = static_cast<const wchar_t*>(name);
        for (int i = 0; i < kTraces; ++i) {
            std::wstring trace = L"thread " + thread + L" trace " + std::to_wstring(i);
            DebugTrace(L"\r\n" + trace + L" line 1\r\n" + trace + L" line 2 padded to be long enough to be cut"
                       L" in two by any writer that does not keep it whole\r\n");
        }
        return 0;
    };
    UniqueHandle a(CreateThread(nullptr, 0, writer, const_cast<wchar_t*>(L"A"), 0, nullptr));
    UniqueHandle b(CreateThread(nullptr, 0, writer, const_cast<wchar_t*>(L"B"), 0, nullptr));
    ASSERT_TRUE(a && b);
    ASSERT_EQ(WaitForSingleObject(a.Get(), 60000), WAIT_OBJECT_0);
    ASSERT_EQ(WaitForSingleObject(b.Get(), 60000), WAIT_OBJECT_0);

    const std::regex form(R"(thread ([AB]) trace (\d+) line (1|2( padded to be long enough to be cut in two by any writer that does not keep it whole)?))");
    std::vector<StampedLine> lines = ReadLog(log);
    ASSERT_EQ(lines.size(), 2u * 2 * kTraces);
    std::map<std::string, int> next{{"A", 0}, {"B", 0}};
    for (size_t i = 0; i < lines.size(); ++i) {
        std::smatch m;
        ASSERT_TRUE(lines[i].stamp != 0 && std::regex_match(lines[i].text, m, form)) << "line " << i << ": "
                                                                                      << lines[i].text;
        std::string thread = m[1];
        int trace = std::stoi(m[2]);
        if (m[3] == "1") {
            EXPECT_EQ(trace, next[thread]) << "line " << i << ": traces of thread " << thread << " out of order";
            next[thread] = trace + 1;
            // Both lines of one trace stay together.
            ASSERT_LT(i + 1, lines.size());
            EXPECT_EQ(lines[i + 1].text.substr(0, lines[i].text.size() - 1),
                      lines[i].text.substr(0, lines[i].text.size() - 1))
                << "line " << i + 1;
        } else {
            EXPECT_TRUE(m[4].matched) << "line " << i << " cut short";
        }
    }
    EXPECT_EQ(next["A"], kTraces);
    EXPECT_EQ(next["B"], kTraces);
}

TEST_F(DebugTraceLog, LogThatCannotBeWrittenIsPassedOverAndTheDebuggerStillGetsTheTrace)
{
    // A missing folder, a folder, and a file that another program holds
    // open without sharing.
    std::wstring held = dir / L"held.log";
    ASSERT_TRUE(WriteFileBytes(held, "kept\r\n"));
    UniqueHandle holder(CreateFileW(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    const std::wstring unwritable[] = {dir / L"no such folder\\trace.log", dir.Path(), held};

    DebugOutputMonitor monitor;
    ASSERT_TRUE(monitor.Listening());
    int index = 0;
    for (const std::wstring& path : unwritable) {
        SetDebugTraceLogPath(path);
        std::string text = "trace " + std::to_string(++index) + " while the log is out of reach";
        DebugTrace(std::wstring(text.begin(), text.end()) + L"\r\n");
        EXPECT_TRUE(monitor.WaitFor(text)) << "the debugger did not get trace " << index;
    }
    EXPECT_FALSE(FileExists(dir / L"no such folder"));
    holder.Reset();
    EXPECT_EQ(ReadFileBytes(held), "kept\r\n");

    // A log that can be written again is used again.
    SetDebugTraceLogPath(log);
    DebugTrace(L"written again\r\n");
    EXPECT_TRUE(monitor.WaitFor("written again"));
    std::vector<StampedLine> lines = ReadLog(log);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].text, "written again");
}

// The installer runs elevated and its temporary folder belongs to the user:
// a second name planted for another file under the log's name must not
// make the installer write into that file.
TEST_F(DebugTraceLog, LinkPlantedUnderTheLogsNameIsNotWrittenThrough)
{
    std::wstring other = dir / L"other.txt";
    ASSERT_TRUE(WriteFileBytes(other, "someone else's file"));
    std::wstring planted = dir / L"PictoraSetup.log";
    ASSERT_TRUE(CreateHardLinkW(planted.c_str(), other.c_str(), nullptr));
    SetDebugTraceLogPath(planted);
    DebugTrace(L"must not reach the other file\r\n");
    EXPECT_EQ(ReadFileBytes(other), "someone else's file");
}

}  // namespace

namespace {

// Points the temporary folder of this process at a folder of the test's
// own while it lives, so that the default log lands there.
class ScopedTemporaryFolder {
public:
    explicit ScopedTemporaryFolder(const std::wstring& folder)
    {
        wchar_t old[MAX_PATH + 1];
        DWORD length = GetEnvironmentVariableW(L"TMP", old, MAX_PATH + 1);
        hadTmp_ = length > 0 && length <= MAX_PATH;
        if (hadTmp_)
            oldTmp_.assign(old, length);
        SetEnvironmentVariableW(L"TMP", folder.c_str());
        SetDebugTraceLogPath(L"");
    }
    ~ScopedTemporaryFolder()
    {
        SetEnvironmentVariableW(L"TMP", hadTmp_ ? oldTmp_.c_str() : nullptr);
        SetDebugTraceLogPath(L"");
    }

private:
    bool hadTmp_ = false;
    std::wstring oldTmp_;
};

}  // namespace

TEST_F(DebugTraceLog, DefaultLogPastItsSizeBecomesThePreviousGenerationAtTheFirstWriteOfARun)
{
    struct Case {
        const char* what;
        size_t size;
        bool moved;
    } cases[] = {
        {"a small log stays", 100, false},
        {"a log of exactly the limit stays", static_cast<size_t>(kLogRotationBytes), false},
        {"a log one byte past the limit moves", static_cast<size_t>(kLogRotationBytes) + 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir temporary;
        ScopedTemporaryFolder folder(temporary.Path());
        ASSERT_EQ(DefaultDebugTraceLogPath(), temporary / L"PictoraSetup.log");
        ASSERT_EQ(PreviousDebugTraceLogPath(), temporary / L"PictoraSetup.old.log");
        std::string earlier(c.size, 'x');
        earlier.replace(earlier.size() - 2, 2, "\r\n");
        ASSERT_TRUE(WriteFileBytes(DefaultDebugTraceLogPath(), earlier));
        ASSERT_TRUE(WriteFileBytes(PreviousDebugTraceLogPath(), "the generation before\r\n"));

        DebugTrace(L"this run\r\n");
        std::string now = ReadFileBytes(DefaultDebugTraceLogPath());
        std::string previous = ReadFileBytes(PreviousDebugTraceLogPath());
        if (c.moved) {
            EXPECT_EQ(previous.size(), earlier.size());
            EXPECT_TRUE(previous == earlier);
            std::vector<StampedLine> lines = ReadLog(DefaultDebugTraceLogPath());
            ASSERT_EQ(lines.size(), 1u);
            EXPECT_EQ(lines[0].text, "this run");
        } else {
            EXPECT_EQ(previous, "the generation before\r\n");
            EXPECT_TRUE(now.compare(0, earlier.size(), earlier) == 0) << "the earlier lines were lost";
            EXPECT_NE(now.find("] this run\r\n", earlier.size()), std::string::npos);
        }
    }
}

TEST_F(DebugTraceLog, DefaultLogIsOnlyMovedAtTheFirstWriteOfARun)
{
    TempDir temporary;
    ScopedTemporaryFolder folder(temporary.Path());
    DebugTrace(L"first write\r\n");
    // The log grows past the limit while the run goes on: it stays whole
    // until the next run.
    {
        UniqueHandle file(CreateFileW(DefaultDebugTraceLogPath().c_str(), FILE_APPEND_DATA,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(file);
        std::string filler(static_cast<size_t>(kLogRotationBytes), 'y');
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(file.Get(), filler.data(), static_cast<DWORD>(filler.size()), &written, nullptr));
    }
    DebugTrace(L"second write\r\n");
    EXPECT_EQ(GetFileAttributesW(PreviousDebugTraceLogPath().c_str()), INVALID_FILE_ATTRIBUTES);
    std::string bytes = ReadFileBytes(DefaultDebugTraceLogPath());
    EXPECT_NE(bytes.find("] first write\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("] second write\r\n"), std::string::npos);

    // The next run (the log set afresh) moves it.
    SetDebugTraceLogPath(L"");
    DebugTrace(L"next run\r\n");
    EXPECT_NE(ReadFileBytes(PreviousDebugTraceLogPath()).find("] second write\r\n"), std::string::npos);
    std::vector<StampedLine> lines = ReadLog(DefaultDebugTraceLogPath());
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].text, "next run");
}

TEST_F(DebugTraceLog, LogAskedForIsOpenedAtOnceAndAFailureIsReported)
{
    struct Case {
        const char* what;
        std::wstring path;
        bool opens;
    } cases[] = {
        {"a new file", dir / L"asked.log", true},
        {"a folder that is not there", dir / L"missing\\asked.log", false},
        {"a folder in the file's place", dir.Path(), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetDebugTraceLogPath(c.path);
        EXPECT_EQ(OpenDebugTraceLog(), c.opens);
        if (c.opens) {
            EXPECT_NE(GetFileAttributesW(c.path.c_str()), INVALID_FILE_ATTRIBUTES) << "not created at once";
        }
    }
}

TEST_F(DebugTraceLog, RunEndLineNamesTheOutcomeAndTheExitCode)
{
    LogRunEnd(L"cancelled", 1602);
    LogRunEnd(L"finished, restart needed", 3010);
    std::vector<StampedLine> lines = ReadLog(log);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].text, "PictoraSetup: run ended: cancelled, exit code 1602.");
    EXPECT_EQ(lines[1].text, "PictoraSetup: run ended: finished, restart needed, exit code 3010.");
}
