#include "net/download_retries.h"

#include "base/debug_trace.h"

namespace {

void Log(const std::wstring& text)
{
    DebugTrace(L"PictoraSetup: " + text + L"\r\n");
}

// Waits `milliseconds` unless the owner's cancel event is set first; true
// when the wait ran out uncancelled.
bool WaitUnlessCancelled(const IDownloadEventSource* owner, DWORD milliseconds)
{
    HANDLE cancel = owner->CancelEvent();
    if (!cancel) {
        Sleep(milliseconds);
        return true;
    }
    return WaitForSingleObject(cancel, milliseconds) == WAIT_TIMEOUT;
}

bool IsCancelled(const IDownloadEventSource* owner)
{
    HANDLE cancel = owner->CancelEvent();
    return cancel && WaitForSingleObject(cancel, 0) == WAIT_OBJECT_0;
}

}  // namespace

DownloadOutcome DownloadWithRetries(const IDownloadEventSource* owner, const std::wstring& url,
                                    const std::wstring& localPath, DownloadStatusCallback callback,
                                    const DownloadRetryOptions& options)
{
    DownloadOutcome outcome;
    if (!owner)
        return outcome;
    Sha256Hash hash;
    size_t waitIndex = 0;
    int mismatches = 0;
    int64_t resumeFrom = 0;
    int64_t announced = 0;
    for (;;) {
        ++outcome.tries;
        CDownloadJob job(url, localPath);
        job.resumeFrom = resumeFrom;
        job.announcedSize = resumeFrom > 0 ? announced : 0;
        job.hash = options.expectedSha256 ? &hash : nullptr;
        bool transferred = job.Run(owner, callback);
        outcome.lastTry = job.lastTry;
        announced = job.announcedSize;
        outcome.hashMismatch = false;

        if (transferred) {
            if (!options.expectedSha256) {
                Log(L"downloaded " + localPath + L" (" + std::to_wstring(job.lastTry.bytesDone) +
                    L" bytes); not checked: no SHA-256 given for it");
                outcome.complete = true;
                return outcome;
            }
            std::optional<Sha256Digest> digest = hash.Finish();
            if (digest && *digest == *options.expectedSha256) {
                Log(L"downloaded " + localPath + L" (" + std::to_wstring(job.lastTry.bytesDone) +
                    L" bytes); SHA-256 matches");
                outcome.complete = true;
                return outcome;
            }
            outcome.hashMismatch = true;
            ++mismatches;
            Log(L"downloaded " + localPath + L" does not match its SHA-256: expected " +
                Sha256DigestText(*options.expectedSha256) + L", got " +
                (digest ? Sha256DigestText(*digest) : std::wstring(L"no digest")) + L"; file deleted");
            DeleteFileW(localPath.c_str());
            resumeFrom = 0;
            if (mismatches >= 2)
                break;
        } else {
            if (job.lastTry.cancelled || IsCancelled(owner)) {
                outcome.cancelled = true;
                Log(L"download of " + url + L" cancelled");
                break;
            }
            Log(L"download of " + url + L" failed on try " + std::to_wstring(outcome.tries) + L": " +
                DescribeFailure(job.lastTry));
            if (!IsTransientFailure(job.lastTry))
                break;
            int64_t next = NextResumePoint(job.lastTry);
            if (next >= resumeFrom + kRetryProgressBytes)
                waitIndex = 0;
            resumeFrom = next;
        }
        if (waitIndex >= options.waitsMs.size()) {
            Log(L"download of " + url + L": giving up after " + std::to_wstring(outcome.tries) + L" tries");
            break;
        }
        DWORD wait = options.waitsMs[waitIndex++];
        Log(L"download of " + url + L": trying again in " + std::to_wstring(wait) + L" ms" +
            (resumeFrom > 0 ? L", from byte " + std::to_wstring(resumeFrom) : std::wstring()));
        if (!WaitUnlessCancelled(owner, wait)) {
            outcome.cancelled = true;
            Log(L"download of " + url + L" cancelled while waiting to try again");
            break;
        }
    }
    DeleteFileW(localPath.c_str());
    return outcome;
}
