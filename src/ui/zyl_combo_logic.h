// The combo box's sizes on plain data: the width of its drop list, its
// drop-button area, and where the drop list goes to stay on the monitor.
#pragma once

#include <windows.h>

#include <vector>

// More items than this and the drop list shows a vertical scroll bar.
constexpr int kComboItemsWithoutScrollBar = 30;

struct DropWidthMetrics {
    int scrollBarWidth = 0;   // SM_CXVSCROLL
    int edgeWidth = 0;        // ScaleX(SM_CXEDGE)
    int averageCharWidth = 0; // ScaleX(the font's average character width)
    int smallIconWidth = 0;   // SM_CXSMICON, counted when the items have icons
};

// The widest item text, plus a scroll bar when there are more than 30
// items, two edges and two average characters (and an icon's width when
// the items have icons); at least the combo's own width.
int ComboDropWidth(const std::vector<int>& textWidths, const DropWidthMetrics& metrics, bool hasIcons,
                   int comboWidth);

// The drop-button area at the right end of the client rectangle for arrow
// frames fw pixels wide; scale4 is ScaleX(4).
RECT ComboButtonRect(const RECT& client, int frameWidth, int scale4);

// The left edge of a drop list that would run past its monitor's right
// edge, moved so that it ends on that edge; otherwise listLeft unchanged.
int KeepListOnMonitor(int comboLeft, int listLeft, int listWidth, int monitorRight);
