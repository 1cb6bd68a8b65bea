// CancelRequest: the ICancelRequest of the installer, over two manual-reset
// events that its owner keeps (the status panel creates them for the
// pipeline). Without events it is never cancelled and never paused, which
// is how the self-update check uses it.
#pragma once

#include <windows.h>

#include "net/transfer_status.h"

struct CancelRequest : ICancelRequest {
    HANDLE cancelEvent = nullptr;  // set = stop; not owned
    HANDLE runEvent = nullptr;     // set = may read, reset = pause; not owned

    CancelRequest() = default;
    CancelRequest(HANDLE cancel, HANDLE run) : cancelEvent(cancel), runEvent(run) {}

    bool IsCancelled() override;
    bool IsPaused() override;
};
