#include "base/notifier.h"

#include <atomic>

#include "base/debug_trace.h"

namespace {
NotifyHandler& Handler()
{
    static NotifyHandler handler;
    return handler;
}

std::atomic<bool>& Quiet()
{
    static std::atomic<bool> quiet{false};
    return quiet;
}

// The box as one log line each for caption and text (the text may have
// lines of its own; each is stamped).
int AnswerQuietly(const std::wstring& text, const std::wstring& caption, UINT style)
{
    int answer = QuietAnswer(style);
    DebugTrace(L"PictoraSetup: message box not shown (quiet run), caption \"" + caption + L"\", answered " +
               AnswerName(answer) + L":\r\n" + text + L"\r\n");
    return answer;
}
}  // namespace

int Notify(const std::wstring& text, const std::wstring& caption, UINT style, HWND owner)
{
    if (Quiet())
        return AnswerQuietly(text, caption, style);
    if (const NotifyHandler& handler = Handler())
        return handler(text, caption, style);
    return MessageBoxW(owner, text.c_str(), caption.c_str(), style);
}

void SetNotifyHandler(NotifyHandler handler)
{
    Handler() = std::move(handler);
}

void SetQuietNotifications(bool quiet)
{
    Quiet() = quiet;
}

bool QuietNotifications()
{
    return Quiet();
}

int QuietAnswer(UINT style)
{
    switch (style & MB_TYPEMASK) {
    case MB_OKCANCEL:
    case MB_YESNOCANCEL:
    case MB_RETRYCANCEL:
    case MB_CANCELTRYCONTINUE:
        return IDCANCEL;
    case MB_YESNO:
        return IDNO;
    case MB_ABORTRETRYIGNORE:
        return IDABORT;
    default:
        return IDOK;
    }
}

const wchar_t* AnswerName(int answer)
{
    switch (answer) {
    case IDOK:
        return L"IDOK";
    case IDCANCEL:
        return L"IDCANCEL";
    case IDABORT:
        return L"IDABORT";
    case IDRETRY:
        return L"IDRETRY";
    case IDIGNORE:
        return L"IDIGNORE";
    case IDYES:
        return L"IDYES";
    case IDNO:
        return L"IDNO";
    case IDTRYAGAIN:
        return L"IDTRYAGAIN";
    case IDCONTINUE:
        return L"IDCONTINUE";
    default:
        return L"(unknown)";
    }
}
