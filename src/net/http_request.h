// The three HTTP GET transfers of the installer, over WinINet and the
// process-wide internetHandle (internet_session.h). Each opens and closes
// its own connection and request within the call; none retries.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <cstdint>
#include <functional>
#include <string>

#include "net/transfer_status.h"
#include "net/transfer_targets.h"

// Fetches `url` into `file` in reads of at most 4 KiB, staged and written
// in blocks of at most 40,960 bytes, each block's seek and write under
// downloadWriteLock; the file is flushed to disk once, after its last
// block, when the whole body arrived uncancelled (a failed flush fails the
// transfer like a refused write). The callback sees a state-2 record twice per
// chunk read, then exactly one last record: state 4 (held back 500 ms) when
// the transfer was cancelled, state 3 otherwise, with errorCode and message
// of the failed step if one failed.
//
// True only when the whole body of a 2xx answer arrived uncancelled and
// was written: an error page, a failed read, a failed write or fewer bytes
// than the announced Content-Length make it false, and the last record
// says which (transfer_messages.h): a refused status with the HTTP status
// as errorCode, a failed read or a short body as "Internet download file
// Failed", a refused write as "Write download file Failed.".
bool DownloadUrlToFile(ICancelRequest& cancel, const std::wstring& url, IDownloadFile& file,
                       IDownloadCallback& callback);

// The size that the server announces for `url` in its Content-Length,
// without reading the body; 0 on any failure, for a status below 200, above
// 500, 403 or 404, and when there is no Content-Length.
int64_t QueryContentLength(const std::wstring& url);

// One try of a download job: what it asked for and what came of it, so
// that the caller can tell a failure worth another try from a final one
// and continue a file where the try left it.
struct TransferTry {
    // Asked: the bytes from this offset on ("Range: bytes=N-"); 0 = the whole body.
    int64_t resumeFrom = 0;

    DWORD httpStatus = 0;        // the answer's status; 0 when none arrived
    bool acceptsRanges = false;  // "Accept-Ranges: bytes", or a 206 answer
    bool resumed = false;        // a 206 that continues the file at resumeFrom
    int64_t bytesDone = 0;       // bytes the file holds at the end of the try
    int64_t announcedSize = 0;   // the whole file's size as the answer gave it; 0 if none
    uint32_t errorCode = 0;      // the failed step's code (an HTTP status for a
    std::wstring message;        // refused answer) and text; 0 and empty if none
    bool cancelled = false;
};

// The download job's transfer, in one request: the answer's announced size
// is taken by QueryContentLength's rule, and when it is not 0 and
// `openFile` opens a file for it, the body of that same answer goes into
// the file exactly as DownloadUrlToFile would put it there, with the same
// records (their totalBytes the announced size). False without a record
// when the request fails, no size is announced, or no file is opened.
// One request instead of a size query and a download: a size query's
// unread body is read to its end by some HTTP stacks when the request is
// closed, which would fetch every component twice.
//
// With try.resumeFrom N > 0 the request asks for the rest from N on. A 206
// whose Content-Range starts at N is the rest of the same file: its total
// length is the announced size, openFile is told `resumed` (the file keeps
// its first N bytes), and bytesDone counts on from N. Any other answer is
// taken as a whole body (openFile then starts the file afresh); a 206 that
// starts elsewhere fails the try. `try` tells the outcome in every case.
bool DownloadAnnouncedUrlToFile(ICancelRequest& cancel, const std::wstring& url, IDownloadCallback& callback,
                                const std::function<IDownloadFile*(int64_t announcedSize, bool resumed)>& openFile,
                                TransferTry& transferTry);

// QueryContentLength's rule on an answer that has arrived.
int64_t AnnouncedSize(HINTERNET request);

// Fetches `url` (sent with "Content-Type: application/json") into `stream`
// in reads of at most 16 KiB; no pause, no progress. True only when the
// whole body of a 2xx answer arrived uncancelled and was appended.
bool DownloadUrlToStream(ICancelRequest& cancel, const std::wstring& url, IByteStream& stream);
