// The progress bar's track and fill on plain data.
#include <gtest/gtest.h>

#include "ui/zyl_progress_geometry.h"

namespace {

struct FillCase {
    int position;
    int range;
    bool filled;
    float fillRight;
};

TEST(ProgressGeometry, TheTrackIsCentredInTheControl)
{
    // A 600 x 20 control at (10, 40) with a 400 x 8 track.
    const ProgressGeometry g = ComputeProgressGeometry(10, 40, 610, 60, 400, 8, 0, 1000);
    EXPECT_FLOAT_EQ(g.track.left, 110.0f);
    EXPECT_FLOAT_EQ(g.track.right, 510.0f);
    EXPECT_FLOAT_EQ(g.track.top, 46.0f);
    EXPECT_FLOAT_EQ(g.track.bottom, 54.0f);
    // Odd leftovers are split, not rounded.
    const ProgressGeometry odd = ComputeProgressGeometry(0, 0, 101, 11, 100, 8, 0, 1000);
    EXPECT_FLOAT_EQ(odd.track.left, 0.5f);
    EXPECT_FLOAT_EQ(odd.track.top, 1.5f);
}

TEST(ProgressGeometry, TheFillFollowsThePositionFromTheTracksLeftEdge)
{
    // Track 400 wide from x = 0 in a 400 x 12 control.
    const FillCase cases[] = {
        {0, 1000, false, 0},      // the bare track
        {-5, 1000, false, 0},
        {1, 1000, true, 0.4f},
        {333, 1000, true, 133.2f},
        {500, 1000, true, 200.0f}, // half the track
        {1000, 1000, true, 400.0f},// full: both ends rounded by the track's shape
        {50, 100, true, 200.0f},   // the control's own default range
        {1500, 1000, true, 600.0f},// beyond the range: cut by the track's shape
        {10, 0, true, 400.0f},     // no range: as full
    };
    for (const FillCase& c : cases) {
        const ProgressGeometry g = ComputeProgressGeometry(0, 0, 400, 12, 400, 8, c.position, c.range);
        EXPECT_EQ(g.filled, c.filled) << c.position << "/" << c.range;
        if (!c.filled)
            continue;
        EXPECT_FLOAT_EQ(g.fillClip.left, 0.0f) << c.position << "/" << c.range;
        EXPECT_NEAR(g.fillClip.right, c.fillRight, 1e-3) << c.position << "/" << c.range;
        EXPECT_FLOAT_EQ(g.fillClip.top, g.track.top);
        EXPECT_FLOAT_EQ(g.fillClip.bottom, g.track.bottom);
    }
}

}  // namespace
