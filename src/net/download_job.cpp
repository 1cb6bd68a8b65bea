#include "net/download_job.h"

#include <exception>
#include <utility>

#include "net/cancel_request.h"
#include "net/download_file.h"
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
    OnStatus(record);
    OutputFile file;
    CancelRequest cancel(owner->CancelEvent(), owner->RunEvent());
    bool result = DownloadAnnouncedUrlToFile(cancel, url, *this, [&](int64_t size) -> IDownloadFile* {
        announcedSize = size;
        record.totalBytes = size;
        return file.Open(localPath, OutputFile::Sharing::Exclusive) ? &file : nullptr;
    });
    file.Close();
    return result;
}
