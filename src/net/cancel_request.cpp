#include "net/cancel_request.h"

namespace {
bool IsSet(HANDLE event)
{
    return WaitForSingleObject(event, 0) == WAIT_OBJECT_0;
}
}  // namespace

bool CancelRequest::IsCancelled()
{
    return cancelEvent && IsSet(cancelEvent);
}

bool CancelRequest::IsPaused()
{
    return runEvent && !IsSet(runEvent);
}
