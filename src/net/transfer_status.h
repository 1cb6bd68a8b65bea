// What a transfer reports and what it asks: the progress record
// DownloadStatusInfo, its receiver IDownloadCallback, and the cancel-and-pause
// query ICancelRequest that every transfer polls before it reads.
#pragma once

#include <cstdint>
#include <string>

// Values of DownloadStatusInfo::state; no others occur.
enum DownloadState : int32_t {
    DownloadStateRunning = 2,         // starting, or a chunk has been read
    DownloadStateEnded = 3,           // ended without a cancel: complete, or failed (errorCode, message)
    DownloadStateCancelled = 4,       // cancelled while it ran
    DownloadStateNotStarted = 5,      // cancelled before it started, or an error escaped the job
};

struct DownloadStatusInfo {
    int32_t state = 0;
    int64_t bytesDone = 0;
    int64_t totalBytes = 0;   // 0 when unknown; the download job fills it in
    uint32_t errorCode = 0;   // system error code of the failed step, 0 if none
    std::wstring message;     // the failed step, empty if none
};

// Receives the records of a transfer on the transfer's thread; it may fill
// in totalBytes. It must return quickly: it runs between two reads.
class IDownloadCallback {
public:
    virtual void OnStatus(DownloadStatusInfo& status) = 0;

protected:
    ~IDownloadCallback() = default;
};

// Polled on the transfer's thread before every read.
class ICancelRequest {
public:
    virtual bool IsCancelled() = 0;  // the transfer must stop
    virtual bool IsPaused() = 0;     // the transfer must not read now

protected:
    ~ICancelRequest() = default;
};
