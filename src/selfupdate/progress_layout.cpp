#include "selfupdate/progress_layout.h"

POINT CenteredBarOrigin(int clientWidth, int clientHeight, int barWidth, int barHeight)
{
    return POINT{(clientWidth - barWidth) / 2, (clientHeight - barHeight) / 2};
}
