// Real windows for the control tests: a visible top-level host window that
// counts the messages its children send it, and a reading of what a window
// shows on the screen.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace image_testing {

// A visible popup window at (0, 0) of width x height that counts the
// messages of one number it receives (from its children).
class HostWindow {
public:
    HostWindow(int width, int height, UINT countedMessage = 0);
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    HWND Get() const { return window_; }
    int Count() const { return count_; }

private:
    static LRESULT CALLBACK Procedure(HWND, UINT, WPARAM, LPARAM);
    HWND window_ = nullptr;
    UINT counted_ = 0;
    int count_ = 0;
};

// What the client area of `window` shows, as COLORREF values, row by row
// (empty when it cannot be read).
class ScreenCapture {
public:
    explicit ScreenCapture(HWND window);
    COLORREF At(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return pixels_.empty(); }

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<COLORREF> pixels_;
};

// What a screen reader reads of a window (AccessibleObjectFromWindow);
// `found` is false when no accessible object came back.
struct AccessibleReading {
    bool found = false;
    std::wstring name;
    LONG role = 0;
    LONG state = 0;
    std::wstring defaultAction;
};
AccessibleReading ReadAccessible(HWND window);
// Runs the accessible object's default action; false when it failed.
bool DoAccessibleDefaultAction(HWND window);

}  // namespace image_testing
