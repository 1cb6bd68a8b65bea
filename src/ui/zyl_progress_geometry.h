// Where the progress bar's track and fill lie. Plain data, no drawing.
//
// The track is centred in the control; the fill runs from the track's left
// edge to the fraction position / range of its width and is drawn as the
// track's rounded shape cut off at that edge, so it keeps the rounded left
// end and gets a rounded right end only when full.
#pragma once

struct ProgressRect {
    float left = 0;
    float top = 0;
    float right = 0;
    float bottom = 0;
};

struct ProgressGeometry {
    ProgressRect track;
    bool filled = false;   // whether any fill is drawn (position > 0)
    ProgressRect fillClip; // the rectangle the track's shape is cut with
};

// For a control whose client rectangle is (left, top, right, bottom), a
// track of trackWidth x trackHeight, and the position within the range.
ProgressGeometry ComputeProgressGeometry(int left, int top, int right, int bottom, int trackWidth,
                                         int trackHeight, int position, int range);
