// Helpers shared by the tests of ui/: in-memory dialog templates and
// synthetic input on real windows.
#pragma once

#include <windows.h>

#include <functional>
#include <type_traits>
#include <vector>

#include "dialog_template.h"

namespace ui_test {

// Processes the messages waiting for this thread (a few rounds, so that
// messages posted while handling others are handled too).
inline void PumpMessages(int rounds = 5)
{
    for (int i = 0; i < rounds; ++i) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(1);
    }
}

// Synthetic mouse input through the system's input queue, so that the
// window under the pointer gets it as it gets a user's: hit testing,
// non-client messages, hover and leave tracking.
inline void MoveMouseTo(POINT screen)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(screen.x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
    input.mi.dy = MulDiv(screen.y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof(input));
}

inline void LeftButton(bool down)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &input, sizeof(input));
}

inline void PressKey(WORD key, bool down)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &input, sizeof(input));
}

inline void TypeKey(WORD key)
{
    PressKey(key, true);
    PressKey(key, false);
}

// Steps run one per tick of a timer of the window, so that the input of
// one step is handled before the next step looks at its effect. A step
// that returns bool is a wait: it runs again on the next tick until it
// returns true (for at most two seconds).
class StepRunner {
public:
    struct Step {
        template <typename F>
        Step(F f)  // NOLINT: steps are written as plain lambdas
        {
            if constexpr (std::is_same_v<decltype(f()), bool>)
                run = f;
            else
                run = [f] {
                    f();
                    return true;
                };
        }
        std::function<bool()> run;
    };
    static constexpr UINT_PTR kTimer = 0x5E9;
    static constexpr UINT kPeriod = 60;
    static constexpr int kMaxWaitTicks = 2000 / kPeriod;

    template <typename Window>
    void Start(Window& window, std::vector<Step> steps, std::function<void()> done)
    {
        steps_ = std::move(steps);
        done_ = std::move(done);
        next_ = 0;
        window.OnTimer(kTimer, [this, &window] {
            if (next_ < steps_.size()) {
                if (steps_[next_].run() || ++waited_ >= kMaxWaitTicks) {
                    ++next_;
                    waited_ = 0;
                }
                return;
            }
            window.StopTimer(kTimer);
            done_();
        });
        window.StartTimer(kTimer, kPeriod);
    }

private:
    std::vector<Step> steps_;
    std::function<void()> done_;
    size_t next_ = 0;
    int waited_ = 0;
};

}  // namespace ui_test
