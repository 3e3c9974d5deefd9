// Reads text back out of the display list: the font's glyph commands,
// grouped into lines (same y, running rightwards without a wide gap), each
// with the characters of its glyphs (spaces draw nothing, so they are absent).
#pragma once
#include <cmath>
#include <string>
#include <vector>

#include "tests/game/game_fixture.h"

struct QueuedLine {
    std::string text;
    float firstX = 0, lastX = 0, y = 0, alpha = 0;
    int start = 0;  // index of its first glyph among all commands
};

inline std::vector<QueuedLine> QueuedLines(const std::vector<DrawCommand>& commands, int fontImage) {
    std::vector<QueuedLine> lines;
    bool open = false;
    for (int i = 0; i < static_cast<int>(commands.size()); ++i) {
        const DrawCommand& c = commands[i];
        if (!c.IsImage(fontImage)) {
            open = false;
            continue;
        }
        char ch = static_cast<char>(c.frame + 32);
        bool continues = open && std::fabs(c.y - lines.back().y) < 0.01f && c.x > lines.back().lastX &&
                         c.x - lines.back().lastX < 40;
        if (!continues) {
            lines.push_back(QueuedLine{std::string(), c.x, c.x, c.y, c.alpha, i});
            open = true;
        }
        lines.back().text += ch;
        lines.back().lastX = c.x;
    }
    return lines;
}

inline std::vector<QueuedLine> QueuedLines() { return QueuedLines(Game().Commands(), Game().App()->fontImage); }

inline bool HasLine(const std::vector<QueuedLine>& lines, const std::string& text) {
    for (const QueuedLine& l : lines) {
        if (l.text == text) return true;
    }
    return false;
}
