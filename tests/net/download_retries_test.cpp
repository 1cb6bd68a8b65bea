// DownloadWithRetries against the real server: which failures are tried
// again, resuming with ranges, the waits and their cancel, SHA-256 checks,
// and the transfer timeouts that turn a stalled server into a failure.
#include <gtest/gtest.h>

#include <iostream>
#include <thread>

#include "base/debug_trace.h"
#include "net/cancel_request.h"
#include "net/download_file.h"
#include "net/download_retries.h"
#include "net/http_request.h"
#include "net/internet_session.h"
#include "net/net_test_support.h"
#include "net/request_preparation.h"
#include "net/transfer_messages.h"
#include "support/process_helpers.h"

using namespace net_test;
using testing_support::FileExists;
using testing_support::ReadFileBytes;
using testing_support::TempDir;

namespace {

// SHA-256 of Pattern(100000) (the server's generated body), as sha256sum gives it.
constexpr wchar_t kPattern100000Sha256[] = L"cd2df694e424bc7968cc37f47751019e5ca0cd1bdf2e479ea537c3a1c32ee1aa";

const std::vector<DWORD> kShortWaits = {50, 50, 50};

class DownloadRetriesTest : public ServerTest {
protected:
    void SetUp() override
    {
        ServerTest::SetUp();
        SetDebugTraceLogPath(logPath);
    }
    void TearDown() override { SetDebugTraceLogPath(L""); }

    // A path whose first `times` requests follow `first`, every later one
    // `then` (an exact rule over a prefix rule for the same path).
    std::string Scripted(const std::string& name, const std::string& first, int times, const std::string& then)
    {
        std::string path = Path(name);
        EXPECT_TRUE(TheServer().SetRule(path + "*", then));
        EXPECT_TRUE(TheServer().SetRule(path, first + "&times=" + std::to_string(times)));
        return path;
    }
    int64_t SentBytes(const std::string& path)
    {
        std::string body;
        EXPECT_EQ(TheServer().Get("/__control/sent?path=" + path, &body), 200);
        return std::atoll(body.c_str());
    }
    std::string Log() { return ReadFileBytes(logPath); }

    TempDir dir;
    std::wstring local = dir / L"package.bin";
    std::wstring logPath = dir / L"trace.log";
    PipelineEvents events;
    RecordLog records;
};

size_t Count(const std::string& text, const std::string& what)
{
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

// A connection cut at 60 % is followed by a try that asks for the rest and
// appends it: the file is whole, the server sent hardly more than the file,
// and the progress never went back below what had arrived.
TEST_F(DownloadRetriesTest, ACutTransferResumesWithARangeRequest)
{
    const int64_t size = 1000000;
    std::string path = Scripted("package.bin", "size=1000000&cut=600000", 1, "size=1000000");
    DownloadRetryOptions options;
    options.waitsMs = kShortWaits;
    DownloadOutcome outcome = DownloadWithRetries(&events, Url(path), local, records.Callback(), options);

    EXPECT_TRUE(outcome.complete);
    EXPECT_EQ(outcome.tries, 2);
    EXPECT_EQ(TheServer().RequestCount(path), 2);
    EXPECT_EQ(TheServer().LatestHeader(path, "Range"), "bytes=600000-");
    EXPECT_TRUE(SameBytes(ReadFileBytes(local), Pattern(size)));
    EXPECT_LT(SentBytes(path), size * 11 / 10);
    int64_t highest = 0;
    for (const Record& r : records.Records()) {
        if (r.state == DownloadStateRunning) {
            EXPECT_GE(r.bytesDone, highest) << "the count went back: " << r;
            highest = std::max(highest, r.bytesDone);
            EXPECT_EQ(r.totalBytes, r.bytesDone == 0 && highest == 0 ? r.totalBytes : size) << r;
        }
    }
    EXPECT_EQ(Count(Log(), "trying again in 50 ms, from byte 600000"), 1u) << Log();
}

// A server that said it takes ranges but then answers the Range request
// with the whole body: the file starts again and ends whole.
TEST_F(DownloadRetriesTest, AWholeBodyAnswerToARangeRequestStartsTheFileAgain)
{
    const int64_t size = 1000000;
    std::string path = Scripted("package.bin", "size=1000000&cut=600000&noranges=1&header=Accept-Ranges:%20bytes", 1,
                                "size=1000000&noranges=1");
    DownloadRetryOptions options;
    options.waitsMs = kShortWaits;
    DownloadOutcome outcome = DownloadWithRetries(&events, Url(path), local, records.Callback(), options);
    EXPECT_TRUE(outcome.complete);
    EXPECT_EQ(TheServer().LatestHeader(path, "Range"), "bytes=600000-");
    EXPECT_EQ(outcome.lastTry.httpStatus, 200u);
    EXPECT_FALSE(outcome.lastTry.resumed);
    EXPECT_TRUE(SameBytes(ReadFileBytes(local), Pattern(size)));
    EXPECT_EQ(SentBytes(path), 600000 + size);
}

// The real waits: three 503s, then the file. Four requests, three waits of
// 2, 4 and 8 s in the log.
TEST_F(DownloadRetriesTest, ThreeServiceUnavailableAnswersThenTheFile)
{
    std::string path = Scripted("package.bin", "status=503", 3, "size=100000");
    ULONGLONG start = GetTickCount64();
    DownloadOutcome outcome = DownloadWithRetries(&events, Url(path), local, records.Callback());
    ULONGLONG took = GetTickCount64() - start;
    EXPECT_TRUE(outcome.complete);
    EXPECT_EQ(outcome.tries, 4);
    EXPECT_EQ(TheServer().RequestCount(path), 4);
    EXPECT_GE(took, 14000u);
    EXPECT_LT(took, 30000u);
    std::string log = Log();
    EXPECT_EQ(Count(log, "HTTP status 503"), 3u) << log;
    for (const char* wait : {"trying again in 2000 ms", "trying again in 4000 ms", "trying again in 8000 ms"})
        EXPECT_EQ(Count(log, wait), 1u) << wait << "\n" << log;
    EXPECT_EQ(Count(log, "not checked: no SHA-256"), 1u) << log;
}

// What another try cannot mend is not tried again, and a link that makes
// no headway gives up after three more tries; nothing is left behind.
TEST_F(DownloadRetriesTest, FinalFailuresAndExhaustedTries)
{
    struct Case {
        const char* what;
        std::string rule;
        int tries;
    };
    const Case cases[] = {
        {"not found", "status=404", 1},
        {"forbidden", "status=403&body=no", 1},
        {"no size announced", "size=1000&nolength=1", 1},
        {"always cut, no ranges", "size=100000&cut=30000&noranges=1", 4},
        {"always 500", "status=500&body=down", 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string path = Path("case" + std::to_string(&c - cases) + ".bin");
        ASSERT_TRUE(TheServer().SetRule(path, c.rule));
        DownloadRetryOptions options;
        options.waitsMs = kShortWaits;
        DownloadOutcome outcome = DownloadWithRetries(&events, Url(path), local, records.Callback(), options);
        EXPECT_FALSE(outcome.complete);
        EXPECT_FALSE(outcome.cancelled);
        EXPECT_EQ(outcome.tries, c.tries);
        EXPECT_EQ(TheServer().RequestCount(path), c.tries);
        EXPECT_FALSE(FileExists(local)) << "a failed download leaves no file";
    }
    // The log tells the reasons apart.
    std::string log = Log();
    for (const char* reason : {"HTTP status 404", "HTTP status 403", "no size announced",
                               "the body came short (30000 of 100000 bytes)", "HTTP status not accepted. (code 500)"})
        EXPECT_NE(log.find(reason), std::string::npos) << reason << "\n" << log;
}

TEST_F(DownloadRetriesTest, ServerDownIsTriedAgainThenFails)
{
    std::wstring url = L"http://127.0.0.1:" + std::to_wstring(UnusedPort()) + L"/package.bin";
    DownloadRetryOptions options;
    options.waitsMs = kShortWaits;
    DownloadOutcome outcome = DownloadWithRetries(&events, url, local, records.Callback(), options);
    EXPECT_FALSE(outcome.complete);
    EXPECT_EQ(outcome.tries, 4);
    EXPECT_TRUE(outcome.lastTry.message == kConnectFailedMessage || outcome.lastTry.message == kSendFailedMessage)
        << std::string(outcome.lastTry.message.begin(), outcome.lastTry.message.end());
    EXPECT_EQ(outcome.lastTry.httpStatus, 0u);
}

// The digest is checked as the file is written: the right one in upper
// case passes; a wrong one deletes the file, is tried once more, and then
// fails for good.
TEST_F(DownloadRetriesTest, Sha256IsCheckedAndAWrongFileIsDeleted)
{
    std::wstring upper = kPattern100000Sha256;
    for (wchar_t& c : upper)
        c = static_cast<wchar_t>(towupper(c));
    std::wstring wrong = kPattern100000Sha256;
    wrong[0] = wrong[0] == L'0' ? L'1' : L'0';
    struct Case {
        const char* what;
        std::wstring digest;
        bool complete;
        int tries;
    };
    const Case cases[] = {
        {"right, upper case", upper, true, 1},
        {"wrong", wrong, false, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string path = Path("hashed" + std::to_string(&c - cases) + ".bin");
        ASSERT_TRUE(TheServer().SetRule(path, "size=100000"));
        DownloadRetryOptions options;
        options.waitsMs = kShortWaits;
        options.expectedSha256 = ParseSha256Digest(c.digest);
        ASSERT_TRUE(options.expectedSha256);
        DownloadOutcome outcome = DownloadWithRetries(&events, Url(path), local, records.Callback(), options);
        EXPECT_EQ(outcome.complete, c.complete);
        EXPECT_EQ(outcome.tries, c.tries);
        EXPECT_EQ(outcome.hashMismatch, !c.complete);
        EXPECT_EQ(FileExists(local), c.complete);
        if (c.complete) {
            EXPECT_TRUE(SameBytes(ReadFileBytes(local), Pattern(100000)));
        }
    }
    std::string log = Log();
    EXPECT_EQ(Count(log, "SHA-256 matches"), 1u) << log;
    EXPECT_EQ(Count(log, "does not match its SHA-256"), 2u) << log;
}

// A resumed file is hashed across both tries.
TEST_F(DownloadRetriesTest, AResumedFileIsHashedWhole)
{
    std::string path = Scripted("package.bin", "size=100000&cut=40000", 1, "size=100000");
    DownloadRetryOptions options;
    options.waitsMs = kShortWaits;
    options.expectedSha256 = ParseSha256Digest(kPattern100000Sha256);
    DownloadOutcome outcome = DownloadWithRetries(&events, Url(path), local, records.Callback(), options);
    EXPECT_TRUE(outcome.complete);
    EXPECT_EQ(outcome.tries, 2);
    EXPECT_TRUE(outcome.lastTry.resumed);
}

// A cancel during a wait ends it at once, and the partial file goes.
TEST_F(DownloadRetriesTest, ACancelEndsTheWaitAtOnce)
{
    std::string path = Path("down.bin");
    ASSERT_TRUE(TheServer().SetRule(path, "status=503"));
    DownloadRetryOptions options;
    options.waitsMs = {20000, 20000, 20000};
    std::thread canceller([&] {
        for (int i = 0; i < 500 && TheServer().RequestCount(path) < 1; ++i)
            Sleep(10);
        Sleep(200);
        SetEvent(events.CancelEvent());
    });
    ULONGLONG start = GetTickCount64();
    DownloadOutcome outcome = DownloadWithRetries(&events, Url(path), local, records.Callback(), options);
    ULONGLONG took = GetTickCount64() - start;
    canceller.join();
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_FALSE(outcome.complete);
    EXPECT_EQ(outcome.tries, 1);
    EXPECT_LT(took, 2000u);
    EXPECT_FALSE(FileExists(local));
}

// Every request carries the 30 s timeouts.
TEST_F(DownloadRetriesTest, EveryRequestCarriesThirtySecondTimeouts)
{
    std::string path = Path("small.bin");
    ASSERT_TRUE(TheServer().SetRule(path, "size=10"));
    PreparedRequest prepared;
    RequestFailure failure;
    ASSERT_TRUE(PrepareRequest(Url(path), RequestKind::FileDownload, prepared, failure));
    // An internet client that cannot report an option on a request says so
    // (an invalid option, or one not read on this kind of handle); every
    // value reported must be 30 s. That the receive timeout holds shows in
    // AStalledServerFailsTheTransferWithinTheTimeout.
    int reported = 0;
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT}) {
        DWORD value = 0;
        DWORD size = sizeof value;
        if (!InternetQueryOptionW(prepared.request.Get(), option, &value, &size)) {
            DWORD error = GetLastError();
            EXPECT_TRUE(error == ERROR_INTERNET_INVALID_OPTION || error == ERROR_INTERNET_INCORRECT_HANDLE_TYPE)
                << option << ": " << error;
            continue;
        }
        ++reported;
        EXPECT_EQ(value, kTransferTimeoutMs) << option;
    }
    EXPECT_GE(reported, 1);
    std::cout << reported << " of the 3 timeouts reported on the request\n";
}

// A server that accepts and never answers, and one that stops sending in
// the middle of the body: both fail within the timeout instead of holding
// the transfer. The first runs with the real 30 s; the second with 3 s.
TEST_F(DownloadRetriesTest, AStalledServerFailsTheTransferWithinTheTimeout)
{
    struct Case {
        const char* what;
        std::string rule;
        DWORD timeoutMs;
        const wchar_t* message;
        int64_t bytes;
    };
    const Case cases[] = {
        {"never answers", "hang=1", kTransferTimeoutMs, kSendFailedMessage, 0},
        {"stalls mid-body", "size=100000&stall=40960", 3000, kReadFailedMessage, 40960},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string path = Path("stall" + std::to_string(&c - cases) + ".bin");
        ASSERT_TRUE(TheServer().SetRule(path, c.rule));
        ASSERT_TRUE(SetTransferTimeouts(c.timeoutMs));
        OutputFile file;
        ASSERT_TRUE(file.Open(local, OutputFile::Sharing::Exclusive));
        CancelRequest cancel;
        RecordLog log;
        ULONGLONG start = GetTickCount64();
        EXPECT_FALSE(DownloadUrlToFile(cancel, Url(path), file, log));
        ULONGLONG took = GetTickCount64() - start;
        file.Close();
        SetTransferTimeouts(kTransferTimeoutMs);
        EXPECT_LT(took, c.timeoutMs + 10000u);
        EXPECT_GE(took + 500, c.timeoutMs);
        std::vector<Record> got = log.Records();
        ASSERT_FALSE(got.empty());
        EXPECT_EQ(got.back().state, DownloadStateEnded);
        EXPECT_EQ(got.back().message, c.message);
        // The code is the internet client's for a timed-out or dropped
        // connection (ERROR_INTERNET_TIMEOUT, or the socket's own code).
        EXPECT_NE(got.back().errorCode, 0u);
        EXPECT_EQ(got.back().bytesDone, c.bytes);
    }
}

// Which failed tries are worth another, on plain records.
TEST(RetryRules, TransientAndFinalFailures)
{
    struct Case {
        const char* what;
        TransferTry t;
        bool transient;
    };
    auto make = [](DWORD status, const wchar_t* message, uint32_t code = 0, bool cancelled = false) {
        TransferTry t;
        t.httpStatus = status;
        t.message = message;
        t.errorCode = code;
        t.cancelled = cancelled;
        return t;
    };
    const Case cases[] = {
        {"connect", make(0, kConnectFailedMessage, ERROR_INTERNET_CANNOT_CONNECT), true},
        {"send timeout", make(0, kSendFailedMessage, ERROR_INTERNET_TIMEOUT), true},
        {"read failed", make(200, kReadFailedMessage, ERROR_INTERNET_CONNECTION_RESET), true},
        {"short body", make(200, kReadFailedMessage, kShortBodyError), true},
        {"500 with a body", make(500, kStatusRefusedMessage, 500), true},
        {"503 without size", make(503, L""), true},
        {"range mismatch", make(206, kRangeMismatchMessage), true},
        {"404", make(404, L""), false},
        {"416", make(416, L""), false},
        {"403 with a body refused", make(403, kStatusRefusedMessage, 403), false},
        {"no size announced", make(200, L""), false},
        {"write refused", make(200, kWriteFailedMessage, ERROR_DISK_FULL), false},
        {"unparsable URL", make(0, L""), false},
        {"cancelled", make(200, kReadFailedMessage, 0, true), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsTransientFailure(c.t), c.transient) << c.what;
}

}  // namespace
