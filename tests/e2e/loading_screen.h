// The loading screen as a screenshot shows it: its backdrop colour fills the
// top-left corner, which its turning rings never reach, and no later screen
// has that colour there.
#pragma once
#include <string>

#include "tests/e2e/game_process.h"

inline constexpr Rgb kLoadingBackdrop{40, 40, 80};

inline bool ShowsLoading(const std::string& shotPath) {
    Rgb corner = PixelColour(shotPath, 3, 3);
    return corner.r == kLoadingBackdrop.r && corner.g == kLoadingBackdrop.g && corner.b == kLoadingBackdrop.b;
}
