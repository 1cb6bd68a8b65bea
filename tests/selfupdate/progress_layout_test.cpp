// The progress bar's place in the self-update dialog.
#include <gtest/gtest.h>

#include "selfupdate/progress_layout.h"

namespace {

TEST(ProgressLayout, BarIsCentredAtItsOwnSize)
{
    const struct {
        int clientWidth, clientHeight, barWidth, barHeight;
        LONG x, y;
    } cases[] = {
        {404, 107, 342, 20, 31, 43},
        {400, 100, 300, 20, 50, 40},
        // Odd differences round down.
        {401, 101, 300, 20, 50, 40},
        {300, 20, 300, 20, 0, 0},
        // A bar wider than the area starts before its left edge.
        {200, 10, 300, 20, -50, -5},
        {0, 0, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        POINT origin = CenteredBarOrigin(c.clientWidth, c.clientHeight, c.barWidth, c.barHeight);
        EXPECT_EQ(origin.x, c.x) << c.clientWidth << " x " << c.clientHeight;
        EXPECT_EQ(origin.y, c.y) << c.clientWidth << " x " << c.clientHeight;
    }
}

}  // namespace
