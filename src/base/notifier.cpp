#include "base/notifier.h"

namespace {
NotifyHandler& Handler()
{
    static NotifyHandler handler;
    return handler;
}
}  // namespace

int Notify(const std::wstring& text, const std::wstring& caption, UINT style, HWND owner)
{
    if (const NotifyHandler& handler = Handler())
        return handler(text, caption, style);
    return MessageBoxW(owner, text.c_str(), caption.c_str(), style);
}

void SetNotifyHandler(NotifyHandler handler)
{
    Handler() = std::move(handler);
}
