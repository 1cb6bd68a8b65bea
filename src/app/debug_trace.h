// Debug traces: internal failures and milestones that a developer reads
// with a debugger attached (OutputDebugStringW).
#pragma once

#include <string>

void DebugTrace(const std::wstring& text);
