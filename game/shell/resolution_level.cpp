#include "game/shell/resolution_level.h"

#include <iterator>

int ResolutionLevelFor(int deviceWidth, int deviceHeight) {
    if (deviceWidth > 1230 || deviceHeight > 1230) return 4;
    if (deviceWidth > 630 || deviceHeight > 630) return 2;
    return 1;
}

int UsableResolutionLevel(int wanted, const std::function<bool(int level)>& present) {
    if (present(wanted)) return wanted;
    for (int level : kResolutionLevels) {
        if (level > wanted && present(level)) return level;
    }
    for (auto level = std::rbegin(kResolutionLevels); level != std::rend(kResolutionLevels); ++level) {
        if (*level < wanted && present(*level)) return *level;
    }
    return wanted;
}
