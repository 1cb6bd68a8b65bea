#include "ui/zyl_combo_logic.h"

#include <algorithm>

int ComboDropWidth(const std::vector<int>& textWidths, const DropWidthMetrics& metrics, bool hasIcons,
                   int comboWidth)
{
    int width = textWidths.empty() ? 0 : *std::max_element(textWidths.begin(), textWidths.end());
    if (static_cast<int>(textWidths.size()) > kComboItemsWithoutScrollBar)
        width += metrics.scrollBarWidth;
    width += 2 * metrics.edgeWidth + 2 * metrics.averageCharWidth;
    if (hasIcons)
        width += metrics.smallIconWidth;
    return std::max(width, comboWidth);
}

RECT ComboButtonRect(const RECT& client, int frameWidth, int scale4)
{
    RECT button = client;
    button.left = client.right - frameWidth - 2 * scale4;
    button.right = button.left + frameWidth + scale4;
    return button;
}

int KeepListOnMonitor(int comboLeft, int listLeft, int listWidth, int monitorRight)
{
    if (comboLeft < monitorRight && listLeft + listWidth > monitorRight)
        return monitorRight - listWidth;
    return listLeft;
}
