// Which resolution level of the images (1, 2 or 4) a device loads. The
// level follows the device size; a host that fetches a level's files on
// demand may not have them yet, and then the game keeps what it can open:
//   - the wanted level whenever its files are present;
//   - else the level in use, if its files are present;
//   - else the present level nearest to the wanted one (lower first);
//   - else the wanted level, whose missing files are then reported.
#pragma once
#include <functional>

inline constexpr int kResolutionLevels[] = {1, 2, 4};

// Strictly above 630 pixels on either side is level 2, above 1230 level 4.
int ResolutionLevelFor(int deviceWidth, int deviceHeight);

// The level to load now, by the rules above.
int UsableResolutionLevel(int wanted, int current, const std::function<bool(int level)>& present);
