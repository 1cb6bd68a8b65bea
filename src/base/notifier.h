// Every message box the user sees goes through Notify, so that tests can
// observe what would be shown (caption, text, style) without a window, and
// so that an unattended run shows none at all.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// The caption of the application's own message boxes: the product's short name.
inline constexpr wchar_t kApplicationName[] = L"Pictora Maxora";

// Shows a message box; returns the button pressed (IDOK, IDYES, ...).
// With quiet notifications on, nothing is shown: the box (caption, text
// and the answer taken) is written to the log and answered with
// QuietAnswer(style).
int Notify(const std::wstring& text, const std::wstring& caption, UINT style, HWND owner = nullptr);

// Replaces the message box for tests; an empty function restores it.
using NotifyHandler = std::function<int(const std::wstring& text, const std::wstring& caption, UINT style)>;
void SetNotifyHandler(NotifyHandler handler);

// Quiet notifications: no box at all, for a run nobody watches. Start-up
// switches them on once, before any box can be asked for.
void SetQuietNotifications(bool quiet);
bool QuietNotifications();

// The answer a box of `style` gets when nobody is there to answer it: the
// choice that stops safely. Cancel where the buttons have it, else No,
// else Abort; OK where OK is the only button.
int QuietAnswer(UINT style);

// The answer's name as the log shows it ("IDCANCEL").
const wchar_t* AnswerName(int answer);
