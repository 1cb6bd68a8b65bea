// CWindow: a native window bound to a C++ object, with tables that bind
// window messages and control notifications to member handlers.
//
// A window is bound through a window subclass (SetWindowSubclass); its
// messages then pass through Dispatch, which looks them up in this order:
//   1. the message table (OnMessage), for any message;
//   2. WM_COMMAND: the notification reflected to the control that sent it
//      (OnReflectedCommand on the control), then the command table
//      (OnCommand, by control identifier and notification code);
//   3. WM_NOTIFY: the notify table (OnNotify, by identifier and code);
//   4. WM_TIMER: the timer table (OnTimer, by timer identifier);
//   5. WM_DRAWITEM, WM_MEASUREITEM and WM_CTLCOLOR*: reflected to the
//      control object they concern (OnReflected on the control);
//   6. the default processing (the window's own procedure).
// A handler that wants the default processing as well calls Default(),
// before or after its own work, and returns what it wants the message to
// return. A later binding of the same key replaces the earlier one.
//
// Before the modal loop dispatches a message, PreTranslateMessage of the
// target window and then of each of its parents is asked; one that returns
// true consumes the message (ui/message_filter.h).
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <utility>

class CWindow {
public:
    using MessageHandler = std::function<LRESULT(WPARAM, LPARAM)>;
    using CommandHandler = std::function<void()>;
    using NotifyHandler = std::function<LRESULT(NMHDR&)>;
    using TimerHandler = std::function<void()>;

    CWindow() = default;
    virtual ~CWindow();
    CWindow(const CWindow&) = delete;
    CWindow& operator=(const CWindow&) = delete;

    HWND Hwnd() const { return hwnd_; }
    // The object bound to `window`, or nullptr.
    static CWindow* FromHandle(HWND window);

    // Handler tables.
    void OnMessage(UINT message, MessageHandler handler);
    void OnCommand(int id, WORD code, CommandHandler handler);
    void OnNotify(int id, UINT code, NotifyHandler handler);
    void OnTimer(UINT_PTR id, TimerHandler handler);
    // Messages about this control that its parent reflects to it.
    void OnReflected(UINT message, MessageHandler handler);
    void OnReflectedCommand(WORD code, CommandHandler handler);

    // Timers on this window (SetTimer, KillTimer). Timers are one-shot in
    // effect: a handler stops its timer first and starts it again for
    // another tick.
    bool StartTimer(UINT_PTR id, UINT milliseconds);
    void StopTimer(UINT_PTR id);

    // The default processing of the message being handled.
    LRESULT Default();

    // Asked before the modal loop dispatches a message meant for this
    // window or one of its descendants; true consumes the message. The
    // message may be changed in place (a double-click made a button-down).
    virtual bool PreTranslateMessage(MSG& message);

protected:
    // Binds the object to an existing window; false when it cannot.
    bool Attach(HWND window);
    // Unbinds (also done when the window is destroyed).
    void Detach();
    // Called after the window's last message (WM_NCDESTROY), unbound.
    virtual void OnDetached() {}

    // Every message of the bound window comes here; the base looks it up
    // in the tables (order above).
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR subclassId, DWORD_PTR reference);
    // A message reflected from the parent; true when this control handled it.
    bool HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool HandleReflectedCommand(WORD code);

    struct CurrentMessage {
        UINT message = 0;
        WPARAM wParam = 0;
        LPARAM lParam = 0;
    };

    HWND hwnd_ = nullptr;
    CurrentMessage current_;
    std::map<UINT, MessageHandler> messages_;
    std::map<std::pair<int, WORD>, CommandHandler> commands_;
    std::map<std::pair<int, UINT>, NotifyHandler> notifications_;
    std::map<UINT_PTR, TimerHandler> timers_;
    std::map<UINT, MessageHandler> reflected_;
    std::map<WORD, CommandHandler> reflectedCommands_;
};
