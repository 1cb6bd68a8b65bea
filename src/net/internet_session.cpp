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
    if (!internetHandle)
        internetHandle = InternetOpenW(L"Pictora Web Installer Client", INTERNET_OPEN_TYPE_PRECONFIG,
                                       nullptr, nullptr, 0);
}

void CloseInternetSession()
{
    if (internetHandle) {
        InternetCloseHandle(internetHandle);
        internetHandle = nullptr;
    }
}
