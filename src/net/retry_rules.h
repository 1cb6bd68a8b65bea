// When a failed download is tried again, and from where: the rules of
// DownloadWithRetries (download_retries.h), on the plain record of a try.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "net/http_request.h"

// The waits before the second, third and fourth try.
inline const std::vector<DWORD> kDefaultRetryWaitsMs = {2000, 4000, 8000};

// A try that moved the resume point on by at least this much counts as
// progress: the next failure starts the waits again from the first.
inline constexpr int64_t kRetryProgressBytes = 1 << 20;

// True when another try may succeed where `t` failed: no connection, a
// failed send (a timeout or a reset among them), a 5xx answer, a read
// that failed or a body that came short, a partial answer that did not
// fit. False for what another try would only repeat: a URL that cannot be
// split, a 4xx or other refused status, an answer without a size, a file
// that could not be opened or written, and a cancel.
bool IsTransientFailure(const TransferTry& t);

// Where the next try starts: the end of what `t` left in the file when
// the server takes ranges, otherwise 0 (the file starts afresh).
int64_t NextResumePoint(const TransferTry& t);

// One line for the log about a failed try.
std::wstring DescribeFailure(const TransferTry& t);
