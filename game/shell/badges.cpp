#include "game/my_app.h"

// Not built yet: these operations do nothing until their screen exists.

String c_MyApp::BadgeText(int /*n*/) { return String(); }
String c_MyApp::BadgeName(int /*n*/) { return String(); }
String c_MyApp::BadgeDescription(int /*n*/) { return String(); }
void c_MyApp::BadgePopups() {}
void c_MyApp::BadgePanel() {}
void c_MyApp::AwardBadge(int /*n*/) {}
