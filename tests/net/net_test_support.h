// Shared pieces of the network tests: a fixture that needs the server and
// gives each test its own paths on it, a recorder of progress records, the
// pipeline's two events, and the body the server generates.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

#include "base/unique_handle.h"
#include "net/download_job.h"
#include "net/transfer_status.h"
#include "support/local_test_server.h"

namespace net_test {

// The server's generated body of `size` bytes: byte i is i % 251.
inline std::string Pattern(size_t size)
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(i % 251);
    return bytes;
}

// Success when `actual` equals `expected`; otherwise the sizes and the
// first offset where they differ (never the bytes themselves).
inline testing::AssertionResult SameBytes(const std::string& actual, const std::string& expected)
{
    if (actual == expected)
        return testing::AssertionSuccess();
    size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at])
        ++at;
    return testing::AssertionFailure() << actual.size() << " bytes where " << expected.size()
                                       << " were expected; first difference at offset " << at;
}

inline std::wstring Widen(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}

// Needs the server; Path() gives a path of this test run only, so rules and
// request counts of different tests (or repeats of one) never meet.
class ServerTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(TheServer().Running()) << TheServer().Failure();
        static int runs = 0;
        run_ = ++runs;
    }

    std::string Path(const std::string& name) const
    {
        const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
        std::string test = std::string(info->test_suite_name()) + "." + info->name();
        for (char& c : test) {
            if (c == '/')
                c = '_';
        }
        std::string path = "/";
        path += std::to_string(run_);
        path += '.';
        path += test;
        path += '/';
        path += name;
        return path;
    }
    static std::wstring Url(const std::string& path) { return TheServer().Url(Widen(path)); }

private:
    int run_ = 0;
};

struct Record {
    int32_t state = 0;
    int64_t bytesDone = 0;
    int64_t totalBytes = 0;
    uint32_t errorCode = 0;
    std::wstring message;
    ULONGLONG tick = 0;  // GetTickCount64() when it arrived

    bool SameReport(const Record& other) const
    {
        return state == other.state && bytesDone == other.bytesDone && totalBytes == other.totalBytes &&
               errorCode == other.errorCode && message == other.message;
    }
};

inline std::ostream& operator<<(std::ostream& out, const Record& r)
{
    return out << "(state " << r.state << ", " << r.bytesDone << " of " << r.totalBytes << ", error "
               << r.errorCode << ", \"" << std::string(r.message.begin(), r.message.end()) << "\")";
}

// Collects every record a transfer reports, from whichever thread; an
// optional hook sees each one as it arrives.
class RecordLog : public IDownloadCallback {
public:
    void OnStatus(DownloadStatusInfo& status) override
    {
        Record record{status.state, status.bytesDone, status.totalBytes, status.errorCode, status.message,
                      GetTickCount64()};
        std::lock_guard<std::mutex> lock(mutex_);
        records_.push_back(record);
        if (hook_)
            hook_(record);
    }
    DownloadStatusCallback Callback()
    {
        return [this](DownloadStatusInfo& status) { OnStatus(status); };
    }
    void SetHook(std::function<void(const Record&)> hook) { hook_ = std::move(hook); }

    std::vector<Record> Records()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return records_;
    }
    int64_t LatestBytesDone()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return records_.empty() ? 0 : records_.back().bytesDone;
    }

private:
    std::mutex mutex_;
    std::vector<Record> records_;
    std::function<void(const Record&)> hook_;
};

// The pipeline's two events, made as the status panel makes them:
// cancel not set, run set.
class PipelineEvents : public IDownloadEventSource {
public:
    PipelineEvents() : cancel_(CreateEventW(nullptr, TRUE, FALSE, nullptr)), run_(CreateEventW(nullptr, TRUE, TRUE, nullptr)) {}
    HANDLE CancelEvent() const override { return cancel_.Get(); }
    HANDLE RunEvent() const override { return run_.Get(); }

private:
    UniqueHandle cancel_;
    UniqueHandle run_;
};

}  // namespace net_test
