#include "net/request_preparation.h"

#include <vector>

#include "net/internet_session.h"
#include "net/transfer_messages.h"

namespace {

constexpr DWORD kComponentLength = 4096;

// A connection refused or a host that does not resolve shows only when the
// request is sent (WinINet connects lazily); it is still the connection
// step that failed.
bool IsConnectionFailure(DWORD error)
{
    return error == ERROR_INTERNET_CANNOT_CONNECT || error == ERROR_INTERNET_NAME_NOT_RESOLVED;
}

}  // namespace

DWORD RequestFlags(RequestKind kind, bool secure)
{
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_UI;
    if (kind == RequestKind::FileDownload)
        flags |= INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_KEEP_CONNECTION;
    if (secure)
        flags |= INTERNET_FLAG_SECURE;
    return flags;
}

bool PrepareRequest(const std::wstring& url, RequestKind kind, PreparedRequest& prepared, RequestFailure& failure,
                    const std::wstring& extraHeader)
{
    prepared.Close();
    failure = RequestFailure{};

    // 1. Split the URL.
    std::vector<wchar_t> scheme(kComponentLength), host(kComponentLength), user(kComponentLength),
        password(kComponentLength), path(kComponentLength), extra(kComponentLength);
    URL_COMPONENTSW parts{};
    parts.dwStructSize = sizeof parts;
    parts.lpszScheme = scheme.data();
    parts.dwSchemeLength = kComponentLength;
    parts.lpszHostName = host.data();
    parts.dwHostNameLength = kComponentLength;
    parts.lpszUserName = user.data();
    parts.dwUserNameLength = kComponentLength;
    parts.lpszPassword = password.data();
    parts.dwPasswordLength = kComponentLength;
    parts.lpszUrlPath = path.data();
    parts.dwUrlPathLength = kComponentLength;
    parts.lpszExtraInfo = extra.data();
    parts.dwExtraInfoLength = kComponentLength;
    if (url.empty() || !InternetCrackUrlW(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts))
        return false;

    // 2. Connect.
    DWORD service = parts.nScheme == INTERNET_SCHEME_FTP ? INTERNET_SERVICE_FTP : INTERNET_SERVICE_HTTP;
    prepared.connection.Reset(InternetConnectW(internetHandle, host.data(), parts.nPort,
                                               parts.dwUserNameLength ? user.data() : nullptr,
                                               parts.dwPasswordLength ? password.data() : nullptr, service, 0, 0));
    if (!prepared.connection) {
        failure = {GetLastError(), kConnectFailedMessage};
        return false;
    }

    // 3.-4. Open the GET for path and query.
    std::wstring object = std::wstring(path.data(), parts.dwUrlPathLength) +
                          std::wstring(extra.data(), parts.dwExtraInfoLength);
    static const wchar_t* const kFileAccept[] = {L"*/*", nullptr};
    static const wchar_t* const kDocumentAccept[] = {L"application/xml", L"*/*", nullptr};
    const wchar_t** accept =
        const_cast<const wchar_t**>(kind == RequestKind::FileDownload ? kFileAccept : kDocumentAccept);
    bool secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
    prepared.request.Reset(HttpOpenRequestW(prepared.connection.Get(), kind == RequestKind::SizeQuery ? nullptr : L"GET",
                                            object.c_str(), L"HTTP/1.1", nullptr, accept,
                                            RequestFlags(kind, secure), 0));
    if (!prepared.request) {
        failure = {GetLastError(), kOpenRequestFailedMessage};
        prepared.connection.Reset();
        return false;
    }

    ApplyTransferTimeouts(prepared.request.Get());

    // 5. The Referer; a request without it still works, so its result is not examined.
    if (!refererUrl.empty()) {
        std::wstring referer = L"Referer: " + refererUrl;
        HttpAddRequestHeadersW(prepared.request.Get(), referer.c_str(), static_cast<DWORD>(-1),
                               HTTP_ADDREQ_FLAG_ADD | HTTP_ADDREQ_FLAG_REPLACE);
    }

    // The size query never reads the body: ask for the connection to end
    // with the answer, as a kept-alive connection would have to be drained
    // of that body (possibly hundreds of megabytes) before it is reused.
    if (kind == RequestKind::SizeQuery)
        HttpAddRequestHeadersW(prepared.request.Get(), L"Connection: close", static_cast<DWORD>(-1),
                               HTTP_ADDREQ_FLAG_ADD | HTTP_ADDREQ_FLAG_REPLACE);

    if (!extraHeader.empty())
        HttpAddRequestHeadersW(prepared.request.Get(), extraHeader.c_str(), static_cast<DWORD>(-1),
                               HTTP_ADDREQ_FLAG_ADD | HTTP_ADDREQ_FLAG_REPLACE);

    // 6. Send, with the one extra header of the stream download.
    static const wchar_t kJsonHeader[] = L"Content-Type: application/json";
    BOOL sent = kind == RequestKind::StreamDownload
                    ? HttpSendRequestW(prepared.request.Get(), kJsonHeader,
                                       static_cast<DWORD>(wcslen(kJsonHeader)), nullptr, 0)
                    : HttpSendRequestW(prepared.request.Get(), nullptr, 0, nullptr, 0);
    if (!sent) {
        DWORD error = GetLastError();
        failure = {error, IsConnectionFailure(error) ? kConnectFailedMessage : kSendFailedMessage};
        prepared.Close();
        return false;
    }
    return true;
}

std::optional<DWORD> QueryStatusCode(HINTERNET request)
{
    DWORD status = 0;
    DWORD size = sizeof status;
    if (!HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr))
        return std::nullopt;
    return status;
}

std::optional<int64_t> QueryContentLengthHeader(HINTERNET request)
{
    wchar_t text[64] = {};
    DWORD size = sizeof text;
    if (!HttpQueryInfoW(request, HTTP_QUERY_CONTENT_LENGTH, text, &size, nullptr))
        return std::nullopt;
    int64_t value = 0;
    for (const wchar_t* p = text; *p >= L'0' && *p <= L'9'; ++p) {
        int digit = *p - L'0';
        if (value > (INT64_MAX - digit) / 10)
            return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

namespace {

std::optional<std::wstring> QueryHeaderText(HINTERNET request, DWORD query)
{
    wchar_t text[256] = {};
    DWORD size = sizeof text;
    if (!HttpQueryInfoW(request, query, text, &size, nullptr))
        return std::nullopt;
    return std::wstring(text, size / sizeof(wchar_t));
}

// Reads decimal digits at `at` into `value`; false when there are none or
// they do not fit.
bool ReadDecimal(const std::wstring& text, size_t& at, int64_t& value)
{
    size_t begin = at;
    value = 0;
    while (at < text.size() && text[at] >= L'0' && text[at] <= L'9') {
        int digit = text[at] - L'0';
        if (value > (INT64_MAX - digit) / 10)
            return false;
        value = value * 10 + digit;
        ++at;
    }
    return at > begin;
}

}  // namespace

bool AcceptsByteRanges(HINTERNET request)
{
    std::optional<std::wstring> value = QueryHeaderText(request, HTTP_QUERY_ACCEPT_RANGES);
    if (!value)
        return false;
    std::wstring lower;
    for (wchar_t c : *value)
        lower += (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
    return lower.find(L"bytes") != std::wstring::npos;
}

std::optional<ContentRange> QueryContentRange(HINTERNET request)
{
    std::optional<std::wstring> value = QueryHeaderText(request, HTTP_QUERY_CONTENT_RANGE);
    static constexpr wchar_t kUnit[] = L"bytes ";
    if (!value || value->compare(0, 6, kUnit) != 0)
        return std::nullopt;
    ContentRange range;
    size_t at = 6;
    if (!ReadDecimal(*value, at, range.first) || at >= value->size() || (*value)[at++] != L'-' ||
        !ReadDecimal(*value, at, range.last) || at >= value->size() || (*value)[at++] != L'/' ||
        !ReadDecimal(*value, at, range.total) || range.first > range.last || range.last >= range.total)
        return std::nullopt;
    return range;
}

bool CheckSuccessStatus(HINTERNET request, uint32_t& errorCode, std::wstring& message)
{
    std::optional<DWORD> status = QueryStatusCode(request);
    if (!status) {
        errorCode = GetLastError();
        message = kStatusQueryFailedMessage;
        return false;
    }
    if (*status < 200 || *status > 299) {
        errorCode = *status;
        message = kStatusRefusedMessage;
        return false;
    }
    return true;
}
