// CDownloadJob: one URL into one local file for the installation pipeline.
// It reads the announced size from the answer, refuses to download when
// none is announced, opens the file and transfers that answer's body as
// DownloadUrlToFile does, forwarding the transfer's records to its callback
// with the announced size filled in (DownloadAnnouncedUrlToFile: one request
// serves as size query and download).
//
// Records one Run passes to the callback, in order:
//   cancelled before anything was requested: (5, 0, 0) only
//   otherwise the start (2, 0, 0), then the transfer's own: (2, n, size)
//   twice per chunk and one last (3 or 4, n, size); an escaped standard
//   exception ends it with (5, 0, size or 0).
// The job sends no closing report of its own after the transfer.
//
// For another try of a download (download_retries.h) a job can continue
// the file a try before left (resumeFrom: the start record then says
// (2, resumeFrom, size) so the progress does not fall back) and add what it
// writes to a running SHA-256 (hash; started afresh whenever the file is).
// lastTry tells what the try's request and answer came to.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "net/http_request.h"
#include "net/sha256_hash.h"
#include "net/transfer_status.h"

// What a job needs of its owner: the two events of the pipeline (either may
// be null) that cancel and pause its transfer.
class IDownloadEventSource {
public:
    virtual HANDLE CancelEvent() const = 0;
    virtual HANDLE RunEvent() const = 0;

protected:
    ~IDownloadEventSource() = default;
};

using DownloadStatusCallback = std::function<void(DownloadStatusInfo&)>;

class CDownloadJob : public IDownloadCallback {
public:
    CDownloadJob(std::wstring url, std::wstring localPath);
    CDownloadJob(const CDownloadJob&) = delete;
    CDownloadJob& operator=(const CDownloadJob&) = delete;

    // Runs the job once; true when the transfer ran to its end without a
    // cancel. False without a record when `owner` is null.
    bool Run(const IDownloadEventSource* owner, DownloadStatusCallback callback);

    void OnStatus(DownloadStatusInfo& status) override;

    std::wstring url;
    std::wstring localPath;
    int64_t announcedSize = 0;
    int64_t resumeFrom = 0;
    Sha256Hash* hash = nullptr;
    TransferTry lastTry;
    const IDownloadEventSource* owner = nullptr;
    DownloadStatusCallback callback;

private:
    bool Transfer(DownloadStatusInfo& record);
};
