// Every message box the user sees goes through Notify, so that tests can
// observe what would be shown (caption, text, style) without a window.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// The caption of the application's own message boxes: the product's short name.
inline constexpr wchar_t kApplicationName[] = L"Pictora Maxora";

// Shows a message box; returns the button pressed (IDOK, IDYES, ...).
int Notify(const std::wstring& text, const std::wstring& caption, UINT style, HWND owner = nullptr);

// Replaces the message box for tests; an empty function restores it.
using NotifyHandler = std::function<int(const std::wstring& text, const std::wstring& caption, UINT style)>;
void SetNotifyHandler(NotifyHandler handler);
