#include "game/shell/resolution_level.h"

namespace {

// How many doublings apart two levels are, as a ratio (levels are powers of two).
int Distance(int a, int b) { return a < b ? b / a : a / b; }

}  // namespace

int ResolutionLevelFor(int deviceWidth, int deviceHeight) {
    if (deviceWidth > 1230 || deviceHeight > 1230) return 4;
    if (deviceWidth > 630 || deviceHeight > 630) return 2;
    return 1;
}

int UsableResolutionLevel(int wanted, int current, const std::function<bool(int level)>& present) {
    if (present(wanted)) return wanted;
    if (current != 0 && present(current)) return current;
    int best = 0;
    for (int level : kResolutionLevels) {  // ascending, so a tie keeps the lower
        if (level == wanted || !present(level)) continue;
        if (best == 0 || Distance(level, wanted) < Distance(best, wanted)) best = level;
    }
    return best != 0 ? best : wanted;
}
