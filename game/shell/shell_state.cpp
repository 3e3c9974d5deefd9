#include "game/my_app.h"

void c_MyApp::ZeroShellState() {
    gameOverTimer = barLength = 0;
    sidePanelWidth = 0;
    scoreRows = scoreBase = 0;
    popupWidth = 160;
    badgeScrollTarget = 0;
    badgeScroll = badgeSelected = badgeDrag = 0;
    creditsFold = creditsCols = creditsRows = 0;
    creditsScroll = 0;
    creditsLine = 0;
}
