// The combo box's sizes on plain data: drop width, button area, and the
// drop list kept on its monitor.
#include <gtest/gtest.h>

#include <vector>

#include "ui/zyl_combo_logic.h"

namespace {

struct DropWidthCase {
    int items;
    int widest;
    bool icons;
    int comboWidth;
    int expected;
};

TEST(ComboDropWidth, AddsTheScrollBarOnlyBeyondThirtyItems)
{
    DropWidthMetrics m;
    m.scrollBarWidth = 17;
    m.edgeWidth = 2;
    m.averageCharWidth = 6;
    m.smallIconWidth = 16;
    const DropWidthCase cases[] = {
        {30, 100, false, 80, 116},   // 100 + 2 * 2 + 2 * 6
        {31, 100, false, 80, 133},   // and one scroll bar
        {1, 100, false, 80, 116},
        {30, 100, true, 80, 132},    // an icon's width
        {31, 100, true, 80, 149},
        {30, 100, false, 200, 200},  // never narrower than the combo
        {0, 0, false, 80, 80},
    };
    for (const DropWidthCase& c : cases) {
        std::vector<int> widths(static_cast<size_t>(c.items), 40);
        if (c.items > 0)
            widths[static_cast<size_t>(c.items) / 2] = c.widest;
        EXPECT_EQ(ComboDropWidth(widths, m, c.icons, c.comboWidth), c.expected)
            << c.items << " items, icons " << c.icons << ", combo " << c.comboWidth;
    }
}

TEST(ComboButtonRect, SitsAtTheRightEndWithMargins)
{
    const RECT button = ComboButtonRect(RECT{0, 0, 150, 24}, 14, 4);
    EXPECT_EQ(button.left, 150 - 14 - 8);
    EXPECT_EQ(button.right, button.left + 14 + 4);
    EXPECT_EQ(button.top, 0);
    EXPECT_EQ(button.bottom, 24);
    const RECT wide = ComboButtonRect(RECT{0, 0, 300, 48}, 28, 8);
    EXPECT_EQ(wide.left, 300 - 28 - 16);
    EXPECT_EQ(wide.right, wide.left + 28 + 8);
}

struct MonitorCase {
    int comboLeft, listLeft, listWidth, monitorRight, expectedLeft;
};

TEST(KeepListOnMonitor, MovesAListThatRunsPastTheRightEdgeBack)
{
    const MonitorCase cases[] = {
        {1200, 1200, 200, 1280, 1080},  // would end at 1400: ends at 1280
        {1000, 1000, 200, 1280, 1000},  // fits
        {1080, 1080, 200, 1280, 1080},  // ends exactly on the edge
        {1300, 1300, 200, 1280, 1300},  // the combo itself is beyond this monitor
        {100, 100, 400, 1280, 100},
    };
    for (const MonitorCase& c : cases)
        EXPECT_EQ(KeepListOnMonitor(c.comboLeft, c.listLeft, c.listWidth, c.monitorRight), c.expectedLeft)
            << c.comboLeft << " " << c.listWidth;
}

}  // namespace
