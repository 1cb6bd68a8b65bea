// The custom frame on a real window under synthetic input: geometry,
// region, caption buttons under the pointer, Escape.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "ui/dpi.h"
#include "ui/theme.h"
#include "ui/zyl_dialog.h"
#include "ui_test_support.h"

namespace {

using ui_test::StepRunner;

DialogTemplate FrameTemplate(DWORD extraStyle = 0)
{
    DialogTemplate t(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME | extraStyle, 200, 100,
                     L"Frame");
    t.Add(1001, L"Button", L"OK", WS_TABSTOP | BS_PUSHBUTTON, 10, 10, 50, 14);
    return t;
}

class FrameDialog : public CZYLDialog {
public:
    using CZYLDialog::CZYLDialog;
    std::vector<StepRunner::Step> steps;
    int closeRequests = 0;
    int layouts = 0;
    std::vector<WPARAM> maximizeCommands;  // SC_MAXIMIZE and SC_RESTORE the window got

    RECT Box(int id) { return FindButton(CaptionButtons(), id)->box; }
    // The screen point at the centre of caption button `id`.
    POINT Centre(int id)
    {
        RECT window{};
        GetWindowRect(Hwnd(), &window);
        const RECT box = Box(id);
        return {window.left + (box.left + box.right) / 2, window.top + (box.top + box.bottom) / 2};
    }
    POINT CaptionPoint()
    {
        RECT window{};
        GetWindowRect(Hwnd(), &window);
        return {window.left + 40, window.top + Metrics().borderY + Metrics().captionY / 2};
    }
    POINT ClientPoint()
    {
        RECT window{};
        GetWindowRect(Hwnd(), &window);
        return {window.left + 100, window.bottom - 20};
    }
    bool State(int id, bool CaptionButton::*field) { return FindButton(CaptionButtons(), id)->*field; }
    // The colour on the window at the top-left corner of button `id`,
    // inside the button and outside its glyph.
    COLORREF ButtonCorner(int id)
    {
        const RECT box = Box(id);
        HDC dc = GetWindowDC(Hwnd());
        const COLORREF colour = GetPixel(dc, box.left + 1, box.top + 1);
        ReleaseDC(Hwnd(), dc);
        return colour;
    }
    bool HasGlyph(int id) { return !FindButton(CaptionButtons(), id)->image.Empty(); }

protected:
    bool OnInitDialog() override
    {
        CZYLDialog::OnInitDialog();
        SetWindowPos(Hwnd(), nullptr, 100, 100, 400, 300, SWP_NOZORDER);
        OnMessage(WM_SYSCOMMAND, [this](WPARAM command, LPARAM) -> LRESULT {
            if ((command & 0xFFF0) == SC_MAXIMIZE || (command & 0xFFF0) == SC_RESTORE)
                maximizeCommands.push_back(command & 0xFFF0);
            return Default();
        });
        runner_.Start(*this, steps, [this] { EndDialog(IsIconic(Hwnd()) ? 2 : 1); });
        return true;
    }
    void OnClose() override { ++closeRequests; }
    void OnLayout(const RECT&) override { ++layouts; }

private:
    StepRunner runner_;
};

TEST(CustomFrame, ClientAreaRegionAndLayoutCalls)
{
    DialogTemplate t = FrameTemplate();
    FrameDialog dialog(t.Get());
    dialog.steps = {[&] {
        RECT window{}, client{};
        GetWindowRect(dialog.Hwnd(), &window);
        GetClientRect(dialog.Hwnd(), &client);
        const FrameMetrics& m = dialog.Metrics();
        EXPECT_EQ(window.right - window.left, 400);
        EXPECT_EQ(client.right, 400 - 2 * m.borderX);
        EXPECT_EQ(client.bottom, 300 - m.captionY - 2 * m.borderY);
        RECT region{};
        HRGN probe = CreateRectRgn(0, 0, 0, 0);
        EXPECT_EQ(GetWindowRgn(dialog.Hwnd(), probe), SIMPLEREGION);
        GetRgnBox(probe, &region);
        DeleteObject(probe);
        EXPECT_EQ(region.right, 400);
        EXPECT_EQ(region.bottom, 300);
        // No maximize box: Minimize sits right beside Close.
        EXPECT_EQ(dialog.Box(kCaptionMinimize).right, dialog.Box(kCaptionClose).left);
        EXPECT_EQ(dialog.Box(kCaptionClose).right, 400 - m.borderX);
        const RECT maximize = dialog.Box(kCaptionMaximize);
        EXPECT_TRUE(IsRectEmpty(&maximize));
    }};
    EXPECT_EQ(dialog.DoModal(), 1);
    EXPECT_GT(dialog.layouts, 0);
}

// Pixels of the caption band left of the buttons that are not the
// frame's background: the icon and the title when they are shown.
int CaptionInk(FrameDialog& dialog)
{
    const FrameMetrics& m = dialog.Metrics();
    const int right = dialog.Box(kCaptionMinimize).left;
    HDC dc = GetWindowDC(dialog.Hwnd());
    int ink = 0;
    for (int y = m.borderY; y < m.borderY + m.captionY; ++y)
        for (int x = m.borderX; x < right; ++x)
            ink += GetPixel(dc, x, y) != Theme().FrameBackground;
    ReleaseDC(dialog.Hwnd(), dc);
    return ink;
}

TEST(CustomFrame, IconAndTitleShowOnlyWhenAsked)
{
    InstallThemePalette();
    DialogTemplate t = FrameTemplate();
    FrameDialog dialog(t.Get());
    int without = -1, withTitle = -1, withIcon = -1;
    dialog.steps = {
        [&] {
            without = CaptionInk(dialog);
            dialog.showCaptionTitle = true;
            dialog.RepaintFrame();
        },
        [&] {
            withTitle = CaptionInk(dialog);
            SendMessageW(dialog.Hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(LoadIconW(nullptr, IDI_APPLICATION)));
        },
        [&] { withIcon = CaptionInk(dialog); },
    };
    EXPECT_EQ(dialog.DoModal(), 1);
    EXPECT_EQ(without, 0) << "no icon, no title: the caption band is plain";
    EXPECT_GT(withTitle, 0) << "the title \"Frame\" is drawn";
    EXPECT_GT(withIcon, withTitle) << "the icon comes before the title";
}

TEST(CustomFrame, HoverFollowsThePointerAndLeavesWithIt)
{
    DialogTemplate t = FrameTemplate();
    FrameDialog dialog(t.Get());
    dialog.steps = {
        [&] { ui_test::MoveMouseTo(dialog.Centre(kCaptionClose)); },
        [&] {
            EXPECT_TRUE(dialog.State(kCaptionClose, &CaptionButton::hover));
            EXPECT_TRUE(dialog.State(kCaptionClose, &CaptionButton::hot));
            ui_test::MoveMouseTo(dialog.Centre(kCaptionMinimize));
        },
        [&] {
            EXPECT_FALSE(dialog.State(kCaptionClose, &CaptionButton::hover)) << "the hover moves at once";
            EXPECT_TRUE(dialog.State(kCaptionMinimize, &CaptionButton::hover));
            ui_test::MoveMouseTo(dialog.ClientPoint());
        },
        [&] { return !dialog.State(kCaptionMinimize, &CaptionButton::hover); },
        [&] {
            EXPECT_FALSE(dialog.State(kCaptionMinimize, &CaptionButton::hover)) << "cleared on leaving";
            EXPECT_FALSE(dialog.State(kCaptionMinimize, &CaptionButton::hot));
        },
    };
    EXPECT_EQ(dialog.DoModal(), 1);
}

TEST(CustomFrame, ButtonsShowTheirStateColours)
{
    InstallThemePalette();
    const ThemePalette& theme = Theme();
    DialogTemplate t = FrameTemplate();
    FrameDialog dialog(t.Get());
    dialog.steps = {
        [&] {
            ASSERT_TRUE(dialog.HasGlyph(kCaptionClose)) << "the glyph families are in the test program";
            ASSERT_TRUE(dialog.HasGlyph(kCaptionMinimize));
            EXPECT_EQ(dialog.ButtonCorner(kCaptionClose), theme.FrameBackground);
            ui_test::MoveMouseTo(dialog.Centre(kCaptionClose));
        },
        [&] { return dialog.ButtonCorner(kCaptionClose) == theme.CloseButtonHover; },
        [&] {
            EXPECT_EQ(dialog.ButtonCorner(kCaptionClose), theme.CloseButtonHover);
            ui_test::LeftButton(true);
        },
        [&] { return dialog.ButtonCorner(kCaptionClose) == theme.CloseButtonPressed; },
        [&] {
            EXPECT_EQ(dialog.ButtonCorner(kCaptionClose), theme.CloseButtonPressed);
            ui_test::MoveMouseTo(dialog.Centre(kCaptionMinimize));
        },
        [&] { return dialog.ButtonCorner(kCaptionMinimize) == theme.CaptionButtonHover; },
        [&] {
            EXPECT_EQ(dialog.ButtonCorner(kCaptionMinimize), theme.CaptionButtonHover);
            EXPECT_EQ(dialog.ButtonCorner(kCaptionClose), theme.FrameBackground);
            // Released off the buttons: nothing happens.
            ui_test::MoveMouseTo(dialog.CaptionPoint());
        },
        [&] { ui_test::LeftButton(false); },
        [&] { EXPECT_EQ(dialog.ButtonCorner(kCaptionMinimize), theme.FrameBackground); },
    };
    EXPECT_EQ(dialog.DoModal(), 1);
    EXPECT_EQ(dialog.closeRequests, 0);
}

TEST(CustomFrame, ReleaseActsOnlyOverTheButtonThatIsHot)
{
    DialogTemplate t = FrameTemplate();
    FrameDialog dialog(t.Get());
    dialog.steps = {
        // Press Close, slide off onto the caption, release: nothing.
        [&] { ui_test::MoveMouseTo(dialog.Centre(kCaptionClose)); },
        [&] { ui_test::LeftButton(true); },
        [&] {
            EXPECT_TRUE(dialog.State(kCaptionClose, &CaptionButton::pressed));
            ui_test::MoveMouseTo(dialog.CaptionPoint());
        },
        [&] { ui_test::LeftButton(false); },
        [&] {
            EXPECT_EQ(dialog.closeRequests, 0);
            EXPECT_FALSE(IsIconic(dialog.Hwnd()));
            // A plain click on Close asks to close.
            ui_test::MoveMouseTo(dialog.Centre(kCaptionClose));
        },
        [&] { ui_test::LeftButton(true); },
        [&] { ui_test::LeftButton(false); },
        [&] {
            EXPECT_EQ(dialog.closeRequests, 1);
            // Press Close, slide to Minimize, release: minimized.
            ui_test::LeftButton(true);
        },
        [&] { ui_test::MoveMouseTo(dialog.Centre(kCaptionMinimize)); },
        [&] {
            EXPECT_TRUE(dialog.State(kCaptionMinimize, &CaptionButton::hot));
            EXPECT_FALSE(dialog.State(kCaptionClose, &CaptionButton::pressed));
            ui_test::LeftButton(false);
        },
        [] {},
    };
    EXPECT_EQ(dialog.DoModal(), 2) << "minimized at the end";
    EXPECT_EQ(dialog.closeRequests, 1);
}

// A double-click on the caption maximizes only a window with the maximize
// box (a double-click on a caption button never does).
TEST(CustomFrame, CaptionDoubleClickMaximizesOnlyWithTheMaximizeBox)
{
    for (bool maximizeBox : {false, true}) {
        SCOPED_TRACE(maximizeBox ? "with the maximize box" : "without");
        DialogTemplate t = FrameTemplate(maximizeBox ? WS_MAXIMIZEBOX : 0);
        FrameDialog dialog(t.Get());
        auto doubleClickAt = [&](std::function<POINT()> where) {
            return std::vector<StepRunner::Step>{
                [&, where] { ui_test::MoveMouseTo(where()); },
                [] { ui_test::LeftButton(true); },
                [] { ui_test::LeftButton(false); },
                [] { ui_test::LeftButton(true); },
                [] { ui_test::LeftButton(false); },
                [] {},
            };
        };
        for (auto& step : doubleClickAt([&] { return dialog.Centre(kCaptionMinimize); }))
            dialog.steps.push_back(step);
        dialog.steps.push_back([&] {
            EXPECT_TRUE(dialog.maximizeCommands.empty()) << "not on a caption button";
            ShowWindow(dialog.Hwnd(), SW_RESTORE);
        });
        for (auto& step : doubleClickAt([&] { return dialog.CaptionPoint(); }))
            dialog.steps.push_back(step);
        dialog.DoModal();
        // The frame's own command comes first; without a window manager to
        // confirm the new state the display may restore the window again.
        if (maximizeBox) {
            ASSERT_FALSE(dialog.maximizeCommands.empty());
            EXPECT_EQ(dialog.maximizeCommands.front(), static_cast<WPARAM>(SC_MAXIMIZE));
        } else {
            EXPECT_TRUE(dialog.maximizeCommands.empty());
        }
    }
}

TEST(CustomFrame, EscapeAsksToCloseUnlessCloseIsDisabled)
{
    for (bool closeDisabled : {false, true}) {
        DialogTemplate t = FrameTemplate();
        FrameDialog dialog(t.Get());
        dialog.steps = {
            [&] {
                dialog.SetCaptionButtonDisabled(kCaptionClose, closeDisabled);
                SetForegroundWindow(dialog.Hwnd());
                SetFocus(dialog.Item(1001));
            },
            [&] { ui_test::TypeKey(VK_ESCAPE); },
            [] {},
        };
        EXPECT_EQ(dialog.DoModal(), 1);
        EXPECT_EQ(dialog.closeRequests, closeDisabled ? 0 : 1) << closeDisabled;
    }
}

}  // namespace
