#include "bare_download.h"

#include <windows.h>
#include <wininet.h>

#include "base/unique_handle.h"
#include "net/internet_session.h"

int64_t BareDownload(const std::wstring& url, const std::wstring& file)
{
    URL_COMPONENTSW parts{};
    wchar_t host[256] = {}, path[2048] = {};
    parts.dwStructSize = sizeof parts;
    parts.lpszHostName = host;
    parts.dwHostNameLength = 256;
    parts.lpszUrlPath = path;
    parts.dwUrlPathLength = 2048;
    if (!InternetCrackUrlW(url.c_str(), 0, 0, &parts))
        return -1;
    UniqueInternet connection(
        InternetConnectW(internetHandle, host, parts.nPort, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    const wchar_t* accept[] = {L"*/*", nullptr};
    UniqueInternet request(HttpOpenRequestW(connection.Get(), L"GET", path, L"HTTP/1.1", nullptr, accept,
                                            INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                                                INTERNET_FLAG_KEEP_CONNECTION | INTERNET_FLAG_NO_UI,
                                            0));
    UniqueHandle out(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!request || !out || !HttpSendRequestW(request.Get(), nullptr, 0, nullptr, 0))
        return -1;
    char chunk[4096];
    int64_t bytes = 0;
    DWORD read = 0;
    while (InternetReadFile(request.Get(), chunk, sizeof chunk, &read) && read > 0) {
        DWORD written = 0;
        if (!WriteFile(out.Get(), chunk, read, &written, nullptr) || written != read)
            return -1;
        bytes += read;
    }
    return bytes;
}
