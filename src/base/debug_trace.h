// Debug traces: internal failures and milestones. Each trace goes to the
// debugger (OutputDebugStringW) and is appended to the log file
// "%TEMP%\PictoraSetup.log" in UTF-8, one line per line of its text, each
// line stamped with the local time ("YYYY-MM-DD HH:MM:SS.mmm "), so that a
// failed unattended installation can be diagnosed afterwards. Traces may
// come from any thread. A log that cannot be opened or written is passed
// over; the debugger still gets the trace.
#pragma once

#include <string>

void DebugTrace(const std::wstring& text);

// A trace made from a format of the wide printf family: "%s" takes a wide
// string, "%d" an int ("Error Code: %d\r\n").
void DebugTraceFormat(const wchar_t* format, ...);

// Points the log at another file (tests keep theirs in a folder of their
// own); an empty path restores the default.
void SetDebugTraceLogPath(const std::wstring& path);
