// CDownloadJob against the real server: the records its callback sees, the
// file it leaves, and what cancel and pause do to a running transfer.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "net/download_job.h"
#include "net/net_test_support.h"
#include "support/process_helpers.h"

using namespace net_test;
using testing_support::FileExists;
using testing_support::ReadFileBytes;
using testing_support::TempDir;

namespace {

const Record kStartRecord{DownloadStateRunning, 0, 0, 0, L""};

// The records between the start and the last one: pairs of identical
// state-2 records with rising counts, each step one read of at most 4 KiB,
// all carrying the announced size.
void ExpectChunkPairs(const std::vector<Record>& records, int64_t announced)
{
    ASSERT_GE(records.size(), 2u);
    ASSERT_EQ((records.size() - 2) % 2, 0u) << "chunk records come in pairs";
    int64_t previous = 0;
    for (size_t i = 1; i + 1 < records.size(); i += 2) {
        const Record& first = records[i];
        EXPECT_TRUE(first.SameReport(records[i + 1])) << first << " / " << records[i + 1];
        EXPECT_EQ(first.state, DownloadStateRunning) << first;
        EXPECT_EQ(first.totalBytes, announced) << first;
        EXPECT_GT(first.bytesDone, previous) << first;
        EXPECT_LE(first.bytesDone - previous, 4096) << first;
        previous = first.bytesDone;
    }
}

class DownloadJobTest : public ServerTest {
protected:
    TempDir dir;
    std::wstring local = dir / L"package.bin";
    PipelineEvents events;
    RecordLog log;
};

TEST_F(DownloadJobTest, NormalDownloadReportsStartChunkPairsAndOneFinalRecord)
{
    const int64_t size = 150000;
    const std::string path = Path("package.bin");
    ASSERT_TRUE(TheServer().SetRule(path, "size=150000"));
    CDownloadJob job(Url(path), local);
    EXPECT_TRUE(job.Run(&events, log.Callback()));

    std::vector<Record> records = log.Records();
    ASSERT_GE(records.size(), 4u);
    EXPECT_TRUE(records.front().SameReport(kStartRecord)) << records.front();
    ExpectChunkPairs(records, size);
    EXPECT_TRUE(records.back().SameReport(Record{DownloadStateEnded, size, size, 0, L""})) << records.back();
    EXPECT_EQ(records[records.size() - 2].bytesDone, size);
    EXPECT_EQ(job.announcedSize, size);
    EXPECT_TRUE(SameBytes(ReadFileBytes(local), Pattern(size)));
    EXPECT_EQ(TheServer().RequestCount(path), 1) << "one answer gives the size and the body";
}

// Without an announced size nothing is downloaded: the callback sees only
// the start, no file is made, and the one request's body is not read.
TEST_F(DownloadJobTest, NoAnnouncedSizeMeansNoDownload)
{
    struct Case {
        const char* name;
        const char* rule;
    };
    const Case cases[] = {
        {"404", "status=404"},
        {"no Content-Length", "size=5000&nolength=1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = Path("case" + std::to_string(&c - cases) + ".bin");
        ASSERT_TRUE(TheServer().SetRule(path, c.rule));
        RecordLog caseLog;
        CDownloadJob job(Url(path), local);
        EXPECT_FALSE(job.Run(&events, caseLog.Callback()));
        std::vector<Record> records = caseLog.Records();
        ASSERT_EQ(records.size(), 1u);
        EXPECT_TRUE(records[0].SameReport(kStartRecord)) << records[0];
        EXPECT_FALSE(FileExists(local));
        EXPECT_EQ(TheServer().RequestCount(path), 1);
    }
}

TEST_F(DownloadJobTest, CancelBeforeTheStartRequestsNothing)
{
    const std::string path = Path("package.bin");
    ASSERT_TRUE(TheServer().SetRule(path, "size=5000"));
    SetEvent(events.CancelEvent());
    CDownloadJob job(Url(path), local);
    EXPECT_FALSE(job.Run(&events, log.Callback()));
    std::vector<Record> records = log.Records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_TRUE(records[0].SameReport(Record{DownloadStateNotStarted, 0, 0, 0, L""})) << records[0];
    EXPECT_FALSE(FileExists(local));
    EXPECT_EQ(TheServer().RequestCount(path), 0);
}

TEST_F(DownloadJobTest, CancelMidBodyEndsWithStateFourAfterTheHoldAndKeepsThePartialFile)
{
    const int64_t size = 1 << 20;
    const std::string path = Path("package.bin");
    ASSERT_TRUE(TheServer().SetRule(path, "size=1048576&chunk=8192&delay=20"));
    std::atomic<int64_t> doneAtCancel{-1};
    ULONGLONG cancelTick = 0;
    log.SetHook([&](const Record& r) {
        if (doneAtCancel < 0 && r.bytesDone >= 65536) {
            cancelTick = GetTickCount64();
            doneAtCancel = r.bytesDone;
            SetEvent(events.CancelEvent());
        }
    });
    CDownloadJob job(Url(path), local);
    EXPECT_FALSE(job.Run(&events, log.Callback()));

    std::vector<Record> records = log.Records();
    ASSERT_GE(doneAtCancel.load(), 65536);
    ASSERT_GE(records.size(), 4u);
    ExpectChunkPairs(records, size);
    const Record& last = records.back();
    EXPECT_TRUE(last.SameReport(Record{DownloadStateCancelled, doneAtCancel, size, 0, L""}))
        << last << "; nothing is read after the cancel";
    EXPECT_GE(last.tick - cancelTick, 500u);
    EXPECT_LT(last.tick - cancelTick, 2500u);
    EXPECT_TRUE(SameBytes(ReadFileBytes(local), Pattern(static_cast<size_t>(doneAtCancel))));
}

// While runEvent is reset (the cancel question is open) nothing is read;
// once it is set again the download goes on to a complete file.
TEST_F(DownloadJobTest, PauseHoldsTheCountAndResumeCompletesTheFile)
{
    const int64_t size = 262144;
    const std::string path = Path("package.bin");
    ASSERT_TRUE(TheServer().SetRule(path, "size=262144&chunk=4096&delay=10"));
    CDownloadJob job(Url(path), local);
    std::atomic<bool> result{false};
    std::thread worker([&] { result = job.Run(&events, log.Callback()); });

    ULONGLONG deadline = GetTickCount64() + 10000;
    while (log.LatestBytesDone() < 32768 && GetTickCount64() < deadline)
        Sleep(5);
    ResetEvent(events.RunEvent());
    Sleep(200);  // a read that was under way when the pause came may still land
    int64_t paused = log.LatestBytesDone();
    size_t pausedRecords = log.Records().size();
    Sleep(800);
    int64_t later = log.LatestBytesDone();
    size_t laterRecords = log.Records().size();
    SetEvent(events.RunEvent());
    worker.join();

    EXPECT_GE(paused, 32768);
    EXPECT_LT(paused, size);
    EXPECT_EQ(later, paused);
    EXPECT_EQ(laterRecords, pausedRecords);
    EXPECT_TRUE(result);
    std::vector<Record> records = log.Records();
    ExpectChunkPairs(records, size);
    EXPECT_TRUE(records.back().SameReport(Record{DownloadStateEnded, size, size, 0, L""})) << records.back();
    EXPECT_TRUE(SameBytes(ReadFileBytes(local), Pattern(size)));
}

// A transfer that does not deliver the whole body of a 2xx answer fails;
// its last record says why, and nothing of an error page is kept.
TEST_F(DownloadJobTest, IncompleteOrRefusedTransferFails)
{
    struct Case {
        const char* name;
        const char* rule;
        int64_t announced;
        int64_t keptBytes;         // bytes of the pattern kept in the file; -1: what was counted
        const wchar_t* message;
        uint32_t errorCode;        // 0: any code but 0
    };
    const Case cases[] = {
        {"connection closed after 30000 bytes", "size=100000&cut=30000", 100000, 30000,
         L"Internet download file Failed", 0},
        // A reset may discard bytes not yet read, so the body comes in
        // pieces before the reset.
        {"connection reset after 30000 bytes", "size=100000&cut=30000&abort=1&chunk=10000&delay=50", 100000, -1,
         L"Internet download file Failed", 0},
        {"500 with an error page", "status=500&body=internal+error+page", 19, 0,
         L"HTTP status not accepted.", 500},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = Path("case" + std::to_string(&c - cases) + ".bin");
        ASSERT_TRUE(TheServer().SetRule(path, c.rule));
        RecordLog caseLog;
        std::wstring file = dir / (L"case" + std::to_wstring(&c - cases) + L".bin");
        CDownloadJob job(Url(path), file);
        EXPECT_FALSE(job.Run(&events, caseLog.Callback()));

        std::vector<Record> records = caseLog.Records();
        ASSERT_GE(records.size(), 2u);
        EXPECT_TRUE(records.front().SameReport(kStartRecord)) << records.front();
        ExpectChunkPairs(records, c.announced);
        const Record& last = records.back();
        EXPECT_EQ(last.state, DownloadStateEnded) << last;
        EXPECT_EQ(last.totalBytes, c.announced) << last;
        EXPECT_EQ(last.message, c.message) << last;
        if (c.errorCode) {
            EXPECT_EQ(last.errorCode, c.errorCode) << last;
        } else {
            EXPECT_NE(last.errorCode, 0u) << last;
        }
        EXPECT_LT(last.bytesDone, c.announced) << last;
        int64_t kept = c.keptBytes >= 0 ? c.keptBytes : last.bytesDone;
        EXPECT_EQ(last.bytesDone, kept) << last;
        EXPECT_TRUE(SameBytes(ReadFileBytes(file), Pattern(static_cast<size_t>(kept))));
    }
}

}  // namespace
