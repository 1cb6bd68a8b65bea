// DownloadUrlToFile: the chunked, staged, cancellable file transfer.
#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>

#include "net/http_request.h"
#include "net/internet_session.h"
#include "net/request_preparation.h"
#include "net/transfer_messages.h"

namespace {

constexpr DWORD kChunkSize = 4096;
constexpr size_t kStagingSize = 40960;
constexpr DWORD kCancelHoldMs = 500;
// How long a paused transfer waits before it looks again.
constexpr DWORD kPausePollMs = 10;
// How often a running transfer looks at its cancel and pause state.
constexpr int64_t kStatePollMicroseconds = 1000;

class WriteLockGuard {
public:
    WriteLockGuard() { EnterCriticalSection(&downloadWriteLock); }
    ~WriteLockGuard() { LeaveCriticalSection(&downloadWriteLock); }
    WriteLockGuard(const WriteLockGuard&) = delete;
    WriteLockGuard& operator=(const WriteLockGuard&) = delete;
};

// Collects chunks and writes them out as one block at the file's next
// offset, so that the file sees few, large, locked writes. A block is only
// handed to the system here; the file is synced to disk once, when it is
// complete (SyncCompleteFile), since nothing uses it before then.
class StagingBuffer {
public:
    StagingBuffer(IDownloadFile& file, uint64_t offset)
        : file_(file), bytes_(new char[kStagingSize]), offset_(offset) {}

    void Add(const char* data, size_t size)
    {
        std::copy(data, data + size, bytes_.get() + staged_);
        staged_ += size;
    }
    bool HasRoomForAnotherChunk() const { return staged_ + kChunkSize <= kStagingSize; }

    // Writes what is staged; false (GetLastError() tells why) when the file refused.
    bool WriteOut()
    {
        if (staged_ == 0)
            return true;
        bool written;
        DWORD error = 0;
        {
            WriteLockGuard lock;
            written = file_.Seek(offset_) && file_.Write(bytes_.get(), staged_);
            error = GetLastError();
        }
        offset_ += staged_;
        staged_ = 0;
        SetLastError(error);
        return written;
    }

private:
    IDownloadFile& file_;
    std::unique_ptr<char[]> bytes_;
    size_t staged_ = 0;
    uint64_t offset_ = 0;
};

// Decides when the transfer loop looks at its cancel and pause state. The
// installer's ICancelRequest asks two kernel events, a system call each;
// asked before every 4 KiB chunk, that is two calls per chunk, as many as
// the reads themselves, and on some systems each is a round trip to
// another process that costs more than the read. The loop looks before
// the first read, then whenever a millisecond has passed since the last
// look: a pause or cancel still takes effect within a millisecond (a few
// chunks on a fast link, the next chunk on any slower one), which nobody
// at the screen can tell from at once.
class StatePollClock {
public:
    StatePollClock()
    {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        interval_ = frequency.QuadPart * kStatePollMicroseconds / 1000000;
    }

    bool Due()
    {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        if (polled_ && now.QuadPart - last_ < interval_)
            return false;
        polled_ = true;
        last_ = now.QuadPart;
        return true;
    }

private:
    int64_t interval_ = 0;
    int64_t last_ = 0;
    bool polled_ = false;
};

void RecordFailure(DownloadStatusInfo& status, uint32_t errorCode, const wchar_t* message)
{
    status.errorCode = errorCode;
    status.message = message;
}

// The transfer loop; false when a step failed or the body came short (the
// reason is then in `status`). A cancel ends the loop without a failure:
// the caller sees it and reports it. The body goes into the file from
// status.bytesDone on (0, or where a resumed file ends).
bool TransferBody(ICancelRequest& cancel, HINTERNET request, IDownloadFile& file, IDownloadCallback& callback,
                  DownloadStatusInfo& status)
{
    const int64_t start = status.bytesDone;
    std::optional<int64_t> announced = QueryContentLengthHeader(request);
    std::unique_ptr<char[]> chunk(new char[kChunkSize]);
    StagingBuffer staging(file, static_cast<uint64_t>(start));
    StatePollClock stateClock;
    bool failed = false;
    for (;;) {
        DWORD available = 0;
        if (!InternetQueryDataAvailable(request, &available, 0, 0)) {
            RecordFailure(status, GetLastError(), kReadFailedMessage);
            failed = true;
            break;
        }
        if (stateClock.Due()) {
            if (cancel.IsCancelled())
                break;
            if (cancel.IsPaused()) {
                Sleep(kPausePollMs);
                continue;
            }
        }
        if (available == 0)
            break;
        DWORD read = 0;
        if (!InternetReadFile(request, chunk.get(), std::min(available, kChunkSize), &read)) {
            RecordFailure(status, GetLastError(), kReadFailedMessage);
            failed = true;
            break;
        }
        if (read == 0)
            break;
        status.state = DownloadStateRunning;
        status.bytesDone += read;
        callback.OnStatus(status);
        staging.Add(chunk.get(), read);
        bool written = (staging.HasRoomForAnotherChunk() && read == kChunkSize) || staging.WriteOut();
        DWORD writeError = GetLastError();
        callback.OnStatus(status);
        if (!written) {
            RecordFailure(status, writeError, kWriteFailedMessage);
            failed = true;
            break;
        }
    }
    if (!staging.WriteOut() && !failed) {
        RecordFailure(status, GetLastError(), kWriteFailedMessage);
        failed = true;
    }
    if (!failed && !cancel.IsCancelled() && announced && status.bytesDone - start < *announced) {
        RecordFailure(status, kShortBodyError, kReadFailedMessage);
        failed = true;
    }
    // The one sync of a complete file, outside downloadWriteLock: on a slow
    // disk it takes a while, and other transfers' writes need not wait for it.
    if (!failed && !cancel.IsCancelled() && !file.Flush()) {
        RecordFailure(status, GetLastError(), kWriteFailedMessage);
        failed = true;
    }
    return !failed;
}

// The transfer of an answer that has arrived (or the record of why none
// did), then the one last record. `prepared` is closed before that record.
bool FinishTransfer(ICancelRequest& cancel, PreparedRequest& prepared, IDownloadFile* file,
                    IDownloadCallback& callback, DownloadStatusInfo& status)
{
    bool transferred = false;
    if (file && CheckSuccessStatus(prepared.request.Get(), status.errorCode, status.message) &&
        !cancel.IsCancelled()) {
        transferred = TransferBody(cancel, prepared.request.Get(), *file, callback, status);
    }
    prepared.Close();
    bool cancelled = cancel.IsCancelled();
    if (cancelled) {
        status.state = DownloadStateCancelled;
        Sleep(kCancelHoldMs);
    } else {
        status.state = DownloadStateEnded;
    }
    callback.OnStatus(status);
    return transferred && !cancelled;
}

}  // namespace

bool DownloadUrlToFile(ICancelRequest& cancel, const std::wstring& url, IDownloadFile& file,
                       IDownloadCallback& callback)
{
    DownloadStatusInfo status;
    PreparedRequest prepared;
    RequestFailure failure;
    if (!PrepareRequest(url, RequestKind::FileDownload, prepared, failure)) {
        RecordFailure(status, failure.errorCode, failure.message.c_str());
        return FinishTransfer(cancel, prepared, nullptr, callback, status);
    }
    return FinishTransfer(cancel, prepared, &file, callback, status);
}

bool DownloadAnnouncedUrlToFile(ICancelRequest& cancel, const std::wstring& url, IDownloadCallback& callback,
                                const std::function<IDownloadFile*(int64_t announcedSize, bool resumed)>& openFile,
                                TransferTry& transferTry)
{
    TransferTry& t = transferTry;
    const int64_t resumeFrom = t.resumeFrom;
    t = TransferTry{};
    t.resumeFrom = resumeFrom;
    std::wstring range = resumeFrom > 0 ? L"Range: bytes=" + std::to_wstring(resumeFrom) + L"-" : std::wstring();
    PreparedRequest prepared;
    RequestFailure failure;
    if (!PrepareRequest(url, RequestKind::FileDownload, prepared, failure, range)) {
        t.errorCode = failure.errorCode;
        t.message = failure.message;
        return false;
    }
    HINTERNET request = prepared.request.Get();
    t.httpStatus = QueryStatusCode(request).value_or(0);
    t.acceptsRanges = t.httpStatus == 206 || AcceptsByteRanges(request);
    int64_t announced = 0;
    if (resumeFrom > 0 && t.httpStatus == 206) {
        std::optional<ContentRange> part = QueryContentRange(request);
        if (!part || part->first != resumeFrom) {
            t.acceptsRanges = false;
            t.errorCode = ERROR_INTERNET_INVALID_OPERATION;
            t.message = kRangeMismatchMessage;
            return false;
        }
        announced = part->total;
        t.resumed = true;
    } else {
        announced = AnnouncedSize(request);
    }
    if (announced == 0)
        return false;
    IDownloadFile* file = openFile(announced, t.resumed);
    if (!file) {
        t.errorCode = GetLastError();
        t.message = kWriteFailedMessage;
        return false;
    }
    t.announcedSize = announced;
    DownloadStatusInfo status;
    status.totalBytes = announced;
    status.bytesDone = t.resumed ? resumeFrom : 0;
    bool transferred = FinishTransfer(cancel, prepared, file, callback, status);
    t.bytesDone = status.bytesDone;
    t.errorCode = status.errorCode;
    t.message = status.message;
    t.cancelled = status.state == DownloadStateCancelled;
    return transferred;
}
