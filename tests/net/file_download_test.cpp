// How DownloadUrlToFile stages what it reads: 4 KiB reads collected into
// blocks of at most 40,960 bytes, each written at the next offset with its
// seek, write and flush under downloadWriteLock.
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
            expected.push_back({FileCall::Flush, 0, true});
            offset += block;
        }
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

}  // namespace
