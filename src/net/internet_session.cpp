#include "net/internet_session.h"

HINTERNET internetHandle = nullptr;
CRITICAL_SECTION downloadWriteLock;
std::wstring refererUrl = L"https://www.pictora-maxora.com/";

namespace {
// The lock exists before main runs and for the whole process, so that no
// transfer can reach it uninitialised, whoever prepared the session.
struct WriteLockSetup {
    WriteLockSetup() { InitializeCriticalSection(&downloadWriteLock); }
} writeLockSetup;
}  // namespace

void PrepareInternetSession()
{
    if (!internetHandle) {
        internetHandle = InternetOpenW(L"Pictora Web Installer Client", INTERNET_OPEN_TYPE_PRECONFIG,
                                       nullptr, nullptr, 0);
        SetTransferTimeouts(kTransferTimeoutMs);
    }
}

namespace {

constexpr DWORD kTimeoutOptions[] = {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                                     INTERNET_OPTION_RECEIVE_TIMEOUT};
DWORD transferTimeoutMs = kTransferTimeoutMs;

bool SetTimeoutOptions(HINTERNET handle, DWORD milliseconds)
{
    bool all = true;
    for (DWORD option : kTimeoutOptions)
        all = InternetSetOptionW(handle, option, &milliseconds, sizeof milliseconds) && all;
    return all;
}

}  // namespace

bool SetTransferTimeouts(DWORD milliseconds)
{
    transferTimeoutMs = milliseconds;
    return internetHandle && SetTimeoutOptions(internetHandle, milliseconds);
}

void ApplyTransferTimeouts(HINTERNET request)
{
    SetTimeoutOptions(request, transferTimeoutMs);
}

void CloseInternetSession()
{
    if (internetHandle) {
        InternetCloseHandle(internetHandle);
        internetHandle = nullptr;
    }
}
