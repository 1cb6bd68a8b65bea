// Debug traces: internal failures and milestones. Each trace goes to the
// debugger (OutputDebugStringW) and is appended to the log file
// "%TEMP%\PictoraSetup.log" in UTF-8, one line per line of its text, each
// line stamped with the local time and the process id
// ("YYYY-MM-DD HH:MM:SS.mmm [1234] "), so that a failed unattended
// installation can be diagnosed afterwards, even when two runs wrote to
// the same file. At the first write of a run the default log, when it has
// grown past kLogRotationBytes, is first moved to "PictoraSetup.old.log"
// (one generation is kept). Traces may
// come from any thread. A log that cannot be opened or written is passed
// over; the debugger still gets the trace.
#pragma once

#include <cstdint>
#include <string>

inline constexpr uint64_t kLogRotationBytes = 4u * 1024 * 1024;

void DebugTrace(const std::wstring& text);

// A trace made from a format of the wide printf family: "%s" takes a wide
// string, "%d" an int ("Error Code: %d\r\n").
void DebugTraceFormat(const wchar_t* format, ...);

// Points the log at another file (tests keep theirs in a folder of their
// own); an empty path restores the default.
void SetDebugTraceLogPath(const std::wstring& path);

// Opens the log now (the default, or the file set above); false when it
// cannot be opened, so that a log asked for on the command line can be
// reported at start rather than lost unseen.
bool OpenDebugTraceLog();

// The path of the default log and of its previous generation.
std::wstring DefaultDebugTraceLogPath();
std::wstring PreviousDebugTraceLogPath();

// The last line of a run: its outcome ("finished", "cancelled", ...) and
// the process's exit code.
void LogRunEnd(const std::wstring& outcome, int exitCode);
