// Pre-translation of messages before a modal loop dispatches them.
//
// The system's modal dialog loop (DialogBoxParamW) hands every message to
// the thread's message-filter hook (WH_MSGFILTER, code MSGF_DIALOGBOX)
// before the dialog's keyboard handling. While a modal dialog of ours
// runs, such a hook asks the window objects on the path from the target
// window up to its top-level window (CWindow::PreTranslateMessage,
// innermost first); the first that answers true consumes the message.
#pragma once

#include <windows.h>

// Asks the objects from msg.hwnd upwards; true when one consumed it. Also
// for a message loop of our own.
bool PreTranslateForDispatch(MSG& message);

// Installs the hook for the calling thread while it lives (nested modal
// loops share one hook).
class ModalMessageFilter {
public:
    ModalMessageFilter();
    ~ModalMessageFilter();
    ModalMessageFilter(const ModalMessageFilter&) = delete;
    ModalMessageFilter& operator=(const ModalMessageFilter&) = delete;
};
