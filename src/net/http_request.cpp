// QueryContentLength and DownloadUrlToStream; DownloadUrlToFile is in
// file_download.cpp, the request they all send in request_preparation.cpp.
#include "net/http_request.h"

#include <windows.h>
#include <wininet.h>

#include <memory>

#include "net/request_preparation.h"

namespace {
constexpr DWORD kStreamChunkSize = 16384;
}  // namespace

int64_t QueryContentLength(const std::wstring& url)
{
    PreparedRequest prepared;
    RequestFailure failure;
    if (!PrepareRequest(url, RequestKind::SizeQuery, prepared, failure))
        return 0;
    // The body is never read: closing the request abandons it.
    return AnnouncedSize(prepared.request.Get());
}

int64_t AnnouncedSize(HINTERNET request)
{
    std::optional<DWORD> status = QueryStatusCode(request);
    if (!status || *status == 403 || *status == 404 || *status < 200 || *status > 500)
        return 0;
    return QueryContentLengthHeader(request).value_or(0);
}

bool DownloadUrlToStream(ICancelRequest& cancel, const std::wstring& url, IByteStream& stream)
{
    PreparedRequest prepared;
    RequestFailure failure;
    if (!PrepareRequest(url, RequestKind::StreamDownload, prepared, failure))
        return false;
    HINTERNET request = prepared.request.Get();
    uint32_t statusError = 0;
    std::wstring statusMessage;
    if (!CheckSuccessStatus(request, statusError, statusMessage) || cancel.IsCancelled())
        return false;

    std::optional<int64_t> announced = QueryContentLengthHeader(request);
    std::unique_ptr<char[]> buffer(new char[kStreamChunkSize]);
    int64_t received = 0;
    for (;;) {
        DWORD available = 0;
        if (!InternetQueryDataAvailable(request, &available, 0, 0))
            return false;
        if (cancel.IsCancelled())
            return false;
        if (available == 0)
            break;
        DWORD read = 0;
        if (!InternetReadFile(request, buffer.get(), available < kStreamChunkSize ? available : kStreamChunkSize,
                              &read))
            return false;
        if (read == 0)
            break;
        if (!stream.Append(buffer.get(), read))
            return false;
        received += read;
    }
    prepared.Close();
    return !cancel.IsCancelled() && (!announced || received >= *announced);
}
