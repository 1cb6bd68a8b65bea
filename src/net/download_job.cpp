#include "net/download_job.h"

#include <exception>
#include <optional>
#include <utility>

#include "net/cancel_request.h"
#include "net/download_file.h"
#include "net/hashing_file.h"
#include "net/http_request.h"

CDownloadJob::CDownloadJob(std::wstring url, std::wstring localPath)
    : url(std::move(url)), localPath(std::move(localPath))
{
}

void CDownloadJob::OnStatus(DownloadStatusInfo& status)
{
    if (!callback)
        return;
    if (announcedSize != 0)
        status.totalBytes = announcedSize;
    callback(status);
}

bool CDownloadJob::Run(const IDownloadEventSource* jobOwner, DownloadStatusCallback jobCallback)
{
    if (!jobOwner)
        return false;
    owner = jobOwner;
    callback = std::move(jobCallback);
    DownloadStatusInfo record;
    HANDLE cancelEvent = owner->CancelEvent();
    if (cancelEvent && WaitForSingleObject(cancelEvent, 0) == WAIT_OBJECT_0) {
        record.state = DownloadStateNotStarted;
        OnStatus(record);
        return false;
    }
    try {
        return Transfer(record);
    } catch (const std::exception&) {
        record.state = DownloadStateNotStarted;
        record.bytesDone = 0;
        OnStatus(record);
        return false;
    }
}

bool CDownloadJob::Transfer(DownloadStatusInfo& record)
{
    record.state = DownloadStateRunning;
    record.bytesDone = resumeFrom;
    OnStatus(record);
    OutputFile file;
    std::optional<HashingFile> hashing;
    CancelRequest cancel(owner->CancelEvent(), owner->RunEvent());
    lastTry = TransferTry{};
    lastTry.resumeFrom = resumeFrom;
    bool result = DownloadAnnouncedUrlToFile(
        cancel, url, *this,
        [&](int64_t size, bool resumed) -> IDownloadFile* {
            announcedSize = size;
            record.totalBytes = size;
            bool opened = resumed ? file.OpenToContinue(localPath, static_cast<uint64_t>(resumeFrom))
                                  : file.Open(localPath, OutputFile::Sharing::Exclusive);
            if (!opened)
                return nullptr;
            if (!hash)
                return &file;
            if (!resumed)
                hash->Reset();
            return &hashing.emplace(file, *hash);
        },
        lastTry);
    file.Close();
    return result;
}
