// Helpers shared by the tests of ui/: in-memory dialog templates and
// synthetic input on real windows.
#pragma once

#include <windows.h>

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

}  // namespace ui_test
