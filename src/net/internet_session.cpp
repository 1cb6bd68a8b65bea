#include "net/internet_session.h"

HINTERNET internetHandle = nullptr;
CRITICAL_SECTION downloadWriteLock;

void PrepareInternetSession()
{
    static INIT_ONCE lockReady = INIT_ONCE_STATIC_INIT;
    InitOnceExecuteOnce(
        &lockReady,
        [](PINIT_ONCE, PVOID, PVOID*) -> BOOL {
            InitializeCriticalSection(&downloadWriteLock);
            return TRUE;
        },
        nullptr, nullptr);
    if (!internetHandle)
        internetHandle = InternetOpenW(L"Pictora Web Installer Client", INTERNET_OPEN_TYPE_PRECONFIG,
                                       nullptr, nullptr, 0);
}
