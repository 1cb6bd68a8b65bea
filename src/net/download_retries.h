// DownloadWithRetries: a download job that survives a real network. A try
// that failed for a reason another try may not meet again (retry_rules.h)
// is followed by another after a wait (2, 4, then 8 s); a try that got
// further than the one before starts the waits again, so a link that
// drops now and then still brings the whole file, while one that makes no
// headway gives up after three more tries. The next try continues the
// file where the last one left it when the server takes ranges.
//
// With an expected SHA-256 the file is hashed while it is written and
// compared at its end: a mismatch deletes the file and counts as a failed
// try (starting afresh); a second mismatch is final. Every try, wait and
// check is written to the log. A file that did not arrive whole and right
// is deleted; a cancel ends a wait at once.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "base/sha256_digest.h"
#include "net/download_job.h"
#include "net/retry_rules.h"

struct DownloadRetryOptions {
    std::optional<Sha256Digest> expectedSha256;
    std::vector<DWORD> waitsMs = kDefaultRetryWaitsMs;
};

struct DownloadOutcome {
    bool complete = false;     // the whole file is there (and matched its digest)
    bool cancelled = false;
    int tries = 0;
    bool hashMismatch = false; // the last try's file did not match
    TransferTry lastTry;       // the last try's record
};

// Downloads `url` into `localPath` for `owner` (whose cancel event ends it
// and whose run event pauses it), passing every record to `callback`.
DownloadOutcome DownloadWithRetries(const IDownloadEventSource* owner, const std::wstring& url,
                                    const std::wstring& localPath, DownloadStatusCallback callback,
                                    const DownloadRetryOptions& options = {});
