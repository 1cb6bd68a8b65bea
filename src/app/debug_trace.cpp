#include "app/debug_trace.h"

#include <windows.h>

void DebugTrace(const std::wstring& text)
{
    OutputDebugStringW(text.c_str());
}
