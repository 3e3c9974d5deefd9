// Which resolution level of the images (1, 2 or 4) a device loads. The
// level follows the device size; a host that fetches a level's files on
// demand may not have them yet, and then the game loads what it can open:
//   - the wanted level whenever its files are present;
//   - else the lowest present level above it, which looks as sharp, and
//     nothing is fetched;
//   - else the highest present level below it, while the wanted one is
//     fetched (so a game keeps the level it has until the new one is whole);
//   - else the wanted level, fetched too; until it arrives its missing
//     files are reported.
#pragma once
#include <functional>

inline constexpr int kResolutionLevels[] = {1, 2, 4};

// Strictly above 630 pixels on either side is level 2, above 1230 level 4.
int ResolutionLevelFor(int deviceWidth, int deviceHeight);

// The level to load now, by the rules above.
int UsableResolutionLevel(int wanted, const std::function<bool(int level)>& present);
