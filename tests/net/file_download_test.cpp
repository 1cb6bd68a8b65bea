// How DownloadUrlToFile stages what it reads: 4 KiB reads collected into
// blocks of at most 40,960 bytes, each written at the next offset with its
// seek and write under downloadWriteLock, and one flush of the complete
// file at the end, outside the lock.
#include <gtest/gtest.h>

#include "net/cancel_request.h"
#include "net/http_request.h"
#include "net/net_test_support.h"
#include "net/recording_file.h"
#include "support/process_helpers.h"

using namespace net_test;
using testing_support::TempDir;

namespace {

class FileDownloadTest : public ServerTest {};

TEST_F(FileDownloadTest, FullReadsAreWrittenInStagedBlocks)
{
    struct Case {
        size_t size;
        std::vector<uint64_t> blocks;
    };
    const Case cases[] = {
        {100000, {40960, 40960, 18080}},
        {8192, {8192}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        const std::string path = Path("body" + std::to_string(c.size) + ".bin");
        // Sent in pieces of 4 KiB, a few milliseconds apart: each read finds one
        // whole piece waiting.
        ASSERT_TRUE(TheServer().SetRule(path, "size=" + std::to_string(c.size) + "&chunk=4096&delay=5"));
        TempDir dir;
        RecordingFile file;
        ASSERT_TRUE(file.Open(dir / L"download.bin"));
        CancelRequest cancel;
        RecordLog log;
        EXPECT_TRUE(DownloadUrlToFile(cancel, Url(path), file, log));
        file.Close();

        // The precondition of the case: every read but the last was a full 4 KiB.
        std::vector<Record> records = log.Records();
        int64_t previous = 0;
        for (size_t i = 0; i + 1 < records.size(); i += 2) {
            int64_t read = records[i].bytesDone - previous;
            if (records[i].bytesDone < static_cast<int64_t>(c.size)) {
                ASSERT_EQ(read, 4096) << "read ending at " << records[i].bytesDone;
            }
            previous = records[i].bytesDone;
        }

        std::vector<FileCall> expected;
        uint64_t offset = 0;
        for (uint64_t block : c.blocks) {
            expected.push_back({FileCall::Seek, offset, true});
            expected.push_back({FileCall::Write, block, true});
            offset += block;
        }
        expected.push_back({FileCall::Flush, 0, false});
        EXPECT_EQ(file.calls, expected);
        EXPECT_TRUE(SameBytes(testing_support::ReadFileBytes(dir / L"download.bin"), Pattern(c.size)));
    }
}

// A block the file refuses ends the transfer: false, and the last record
// names the write and its system error code.
TEST_F(FileDownloadTest, RefusedWriteFailsTheTransfer)
{
    const std::string path = Path("body.bin");
    ASSERT_TRUE(TheServer().SetRule(path, "size=100000"));
    TempDir dir;
    RecordingFile file;
    ASSERT_TRUE(file.Open(dir / L"download.bin"));
    file.failWrites = ERROR_DISK_FULL;
    CancelRequest cancel;
    RecordLog log;
    EXPECT_FALSE(DownloadUrlToFile(cancel, Url(path), file, log));

    std::vector<FileCall> writes;
    for (const FileCall& call : file.calls) {
        if (call.kind == FileCall::Write)
            writes.push_back(call);
    }
    EXPECT_EQ(writes.size(), 1u) << "nothing is written after the refused block";
    std::vector<Record> records = log.Records();
    ASSERT_GE(records.size(), 3u);
    EXPECT_EQ((records.size() - 1) % 2, 0u) << "the chunk that was refused is still reported twice";
    const Record& last = records.back();
    EXPECT_EQ(last.state, DownloadStateEnded);
    EXPECT_EQ(last.errorCode, static_cast<uint32_t>(ERROR_DISK_FULL));
    EXPECT_EQ(last.message, L"Write download file Failed.");
    EXPECT_LT(last.bytesDone, 100000);
}

// The complete file is synced once; a body that came short is not (it is
// never used), and a refused sync fails the transfer as a refused write does.
TEST_F(FileDownloadTest, OnlyACompleteFileIsFlushedAndARefusedFlushFails)
{
    struct Case {
        const char* what;
        std::string rule;
        DWORD failFlush;
        bool result;
        size_t flushes;
    };
    const Case cases[] = {
        {"complete", "size=100000", 0, true, 1},
        {"cut short", "size=100000&cut=50000", 0, false, 0},
        {"flush refused", "size=100000", ERROR_DISK_FULL, false, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = Path("flush" + std::to_string(&c - cases) + ".bin");
        ASSERT_TRUE(TheServer().SetRule(path, c.rule));
        TempDir dir;
        RecordingFile file;
        ASSERT_TRUE(file.Open(dir / L"download.bin"));
        file.failFlush = c.failFlush;
        CancelRequest cancel;
        RecordLog log;
        EXPECT_EQ(DownloadUrlToFile(cancel, Url(path), file, log), c.result);
        file.Close();
        size_t flushes = 0;
        for (const FileCall& call : file.calls)
            flushes += call.kind == FileCall::Flush;
        EXPECT_EQ(flushes, c.flushes);
        if (!file.calls.empty()) {
            EXPECT_EQ(file.calls.back().kind, c.flushes ? FileCall::Flush : FileCall::Write) << "the flush comes last";
        }
        if (c.failFlush) {
            const Record last = log.Records().back();
            EXPECT_EQ(last.errorCode, static_cast<uint32_t>(c.failFlush));
            EXPECT_EQ(last.message, L"Write download file Failed.");
            EXPECT_EQ(last.bytesDone, 100000) << "every byte arrived before the sync was refused";
        }
    }
}

}  // namespace
