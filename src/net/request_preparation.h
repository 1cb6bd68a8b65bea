// The one request shape that all three transfers share: split the URL,
// connect under internetHandle, open a GET with the accept types and flags
// of the transfer's kind, add the Referer, send. The prepared request owns
// its two handles and closes the request before the connection.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <cstdint>
#include <optional>
#include <string>

#include "base/unique_handle.h"

enum class RequestKind {
    FileDownload,    // DownloadUrlToFile
    SizeQuery,       // QueryContentLength
    StreamDownload,  // DownloadUrlToStream (sends "Content-Type: application/json")
};

// HttpOpenRequestW flags for a kind of request. Every request reloads from
// the server and never shows a dialog; https adds SECURE and nothing that
// relaxes certificate checks; file downloads keep the connection and stay
// out of the cache.
DWORD RequestFlags(RequestKind kind, bool secure);

struct PreparedRequest {
    UniqueInternet connection;  // declared first: destroyed last
    UniqueInternet request;

    // Closes the request, then the connection.
    void Close()
    {
        request.Reset();
        connection.Reset();
    }
};

struct RequestFailure {
    uint32_t errorCode = 0;
    std::wstring message;  // empty for an unparsable URL
};

// Prepares and sends a GET for `url`, with `extraHeader` ("Name: value",
// e.g. a Range) added when it is not empty. On failure the handles opened
// so far are closed and `failure` names the step (errorCode 0, no message,
// when the URL could not be split).
bool PrepareRequest(const std::wstring& url, RequestKind kind, PreparedRequest& prepared,
                    RequestFailure& failure, const std::wstring& extraHeader = {});

// The response's status code; nullopt when the query fails.
std::optional<DWORD> QueryStatusCode(HINTERNET request);

// The response's Content-Length as a 64-bit count: the value of the header's
// leading decimal digits (0 when there are none); nullopt when the header is
// missing or its digits do not fit.
std::optional<int64_t> QueryContentLengthHeader(HINTERNET request);

// True when the answer says "Accept-Ranges: bytes".
bool AcceptsByteRanges(HINTERNET request);

// The answer's "Content-Range: bytes FIRST-LAST/TOTAL" (no "*" total);
// nullopt when it is missing or malformed.
struct ContentRange {
    int64_t first = 0;
    int64_t last = 0;
    int64_t total = 0;
};
std::optional<ContentRange> QueryContentRange(HINTERNET request);

// True for a 2xx status. Otherwise false with errorCode and message set:
// the HTTP status and kStatusRefusedMessage, or the system error code and
// kStatusQueryFailedMessage when the status cannot be read. An error page
// is never taken for the document asked for.
bool CheckSuccessStatus(HINTERNET request, uint32_t& errorCode, std::wstring& message);
