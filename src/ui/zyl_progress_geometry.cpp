#include "ui/zyl_progress_geometry.h"

ProgressGeometry ComputeProgressGeometry(int left, int top, int right, int bottom, int trackWidth,
                                         int trackHeight, int position, int range)
{
    ProgressGeometry g;
    const float w = static_cast<float>(trackWidth);
    const float h = static_cast<float>(trackHeight);
    g.track.left = left + (right - left - w) / 2.0f;
    g.track.top = top + (bottom - top - h) / 2.0f;
    g.track.right = g.track.left + w;
    g.track.bottom = g.track.top + h;
    if (position <= 0)
        return g;
    g.filled = true;
    // A position beyond the range (or an empty range) is cut by the track's
    // own shape, so the fill never leaves the track.
    const float fraction = range > 0 ? static_cast<float>(position) / static_cast<float>(range) : 1.0f;
    g.fillClip = {g.track.left, g.track.top, g.track.left + w * fraction, g.track.bottom};
    return g;
}
