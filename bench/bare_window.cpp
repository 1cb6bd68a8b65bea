// The start-up benchmark's yardstick: a program of ours that opens and
// paints one window, in the installer's colours, and logs its first paint
// the way the installer logs its own (to the file named on the command
// line). It stays up until it is ended.
#include <windows.h>

#include <string>

#include "base/debug_trace.h"

namespace {

bool painted = false;

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        HBRUSH brush = CreateSolidBrush(RGB(0x1E, 0x1E, 0x1E));
        FillRect(dc, &paint.rcPaint, brush);
        DeleteObject(brush);
        EndPaint(window, &paint);
        if (!painted) {
            painted = true;
            DebugTrace(L"bare window first painted.\r\n");
        }
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int)
{
    std::wstring log = commandLine;
    if (log.size() >= 2 && log.front() == L'"')
        log = log.substr(1, log.find(L'"', 1) - 1);
    SetDebugTraceLogPath(log);
    OpenDebugTraceLog();  // as the installer opens its log at start
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = L"PictoraBareWindow";
    RegisterClassW(&windowClass);
    CreateWindowExW(0, windowClass.lpszClassName, L"Bare window", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CW_USEDEFAULT,
                    CW_USEDEFAULT, 661, 446, nullptr, nullptr, instance, nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
