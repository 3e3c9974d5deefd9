// Badges: texts, the notification pop-ups that slide in from the left edge,
// the badge panel over the title, and awarding one.
#include <algorithm>
#include <cmath>

#include "game/game_constants.h"
#include "game/game_globals.h"
#include "game/my_app.h"

namespace {

constexpr int kPictures = 64;       // badges with a frame in the badge sheet
constexpr int kShownPopups = 13;    // slots 13 and 14 exist but never show
constexpr int kPopupUpdates = 240;  // about four seconds
constexpr int kPopupSpeed = 16;     // pixels per update
constexpr float kScrollStep = 16;

}  // namespace

String c_MyApp::BadgeText(int n) {
    if (n == 0) return String("Test Badge|This is a Test Badge which has no purpose.");
    return String();
}

String c_MyApp::BadgeName(int n) {
    String text = BadgeText(n);
    int bar = text.Find(String("|"));
    return bar < 0 ? text : text.Slice(0, bar);
}

String c_MyApp::BadgeDescription(int n) {
    String text = BadgeText(n);
    int bar = text.Find(String("|"));
    return bar < 0 ? String() : text.Slice(bar + 1);
}

void c_MyApp::BadgePopups() {
    for (int i = 0; i < kShownPopups; ++i) {
        if (badgePopupTimers[i] == 0) continue;
        int timer = ++badgePopupTimers[i];
        int offset = kPopupSpeed * timer - popupWidth;
        if (timer > kPopupUpdates - popupWidth / kPopupSpeed) {
            offset = kPopupUpdates * kPopupSpeed - popupWidth - kPopupSpeed * timer;
        }
        offset = std::min(offset, 0);
        if (timer > kPopupUpdates) {
            badgePopupTimers[i] = 0;  // slid out of view: the slot is free again
            continue;
        }
        float x = static_cast<float>(offset);
        float y = virtualHeight - 34.0f * (i + 1);
        int badge = badgePopupIds[i];
        SetDrawColor(0, 0, 80, 0.8f);
        QueueRect(x, y, 160, 32);
        SetDrawColor(255, 255, 255, 1);
        QueueText(x + 16, y + 4, BadgeName(badge), 0, 0);
        if (badge >= 0 && badge < kPictures) {
            SetDrawScale(0.5f, kAbsent);
            QueueImage(kImageBadges, x + popupWidth - 16, y + 16, badge);
            SetDrawScale(1, kAbsent);
        }
    }
}

void c_MyApp::BadgePanel() {
    float w = virtualWidth, h = virtualHeight;
    ResetDrawState();
    SetDrawColor(255, 125, 0, 0.8f);
    QueueRect(0.1f * w, -1, 0.8f * w, h + 2);
    SetDrawColor(100, 0, 0, 0.8f);
    QueueRect(0.12f * w, -1, 0.76f * w, h + 2);
    SetDrawColor(255, 255, 255, 1);
    badgeSelected = -1;

    if (ControlDown(kControlUp)) badgeScrollTarget -= kScrollStep;
    if (ControlDown(kControlDown)) badgeScrollTarget += kScrollStep;
    if (pointerDown && pointerX > 0.12f * w) {
        badgeDrag = pointerY - prevPointerY;
        badgeScrollTarget -= 1.5f * badgeDrag;
    }
    badgeScrollTarget = std::min(badgeScrollTarget, 0.0f);  // never above the start

    badgeScroll = static_cast<int>(badgeScroll - (badgeScroll - badgeScrollTarget) / 6);
    if (std::fabs(badgeScroll - badgeScrollTarget) < 6) badgeScroll = static_cast<int>(badgeScrollTarget);

    if (badgeSelected >= 0) {
        SetDrawColor(0, 40, 80, 0.7f);
        QueueRect(-1, 0.5f * h - 120, w + 2, 320);
        SetDrawColor(255, 255, 255, 1);
        SetDrawScale(3, kAbsent);
        QueueImage(kImageBadges, 0.5f * w, 0.5f * h, badgeSelected);
        SetDrawScale(1.5f, kAbsent);
        QueueText(0.15f * w, 0.5f * h + 120, BadgeDescription(badgeSelected), 0, 0);
    }
}

void c_MyApp::AwardBadge(int n) {
    if (n < 0 || n >= kBadgeCount || badgeFlags[n]) return;  // unknown, or earned already
    badgeFlags[n] = true;
    for (int i = 0; i < kShownPopups; ++i) {
        if (badgePopupTimers[i] == 0) {
            badgePopupIds[i] = n;
            badgePopupTimers[i] = 1;
            break;
        }
    }
    SaveData();
}
