#include "runtime/recent_lines.h"

#include <algorithm>
#include <cstring>

namespace {

struct Line {
    char text[kRecentLineLength];
    std::size_t length;
};

Line gLines[kRecentLines];
int gNext = 0;   // slot the next line goes to
int gCount = 0;  // lines kept, up to kRecentLines

void RecordLine(const char* text, std::size_t length) {
    Line& line = gLines[gNext];
    line.length = std::min(length, kRecentLineLength);
    std::memcpy(line.text, text, line.length);
    gNext = (gNext + 1) % kRecentLines;
    gCount = std::min(gCount + 1, kRecentLines);
}

}  // namespace

void RecordPrintedText(const char* text, std::size_t length) {
    const char* end = text + length;
    for (;;) {
        const char* newline = static_cast<const char*>(std::memchr(text, '\n', end - text));
        RecordLine(text, (newline ? newline : end) - text);
        if (!newline) return;
        text = newline + 1;
    }
}

void ForEachRecentLine(void (*visit)(const char* line, std::size_t length, void* context), void* context) {
    int first = (gNext - gCount + kRecentLines) % kRecentLines;
    for (int i = 0; i < gCount; ++i) {
        const Line& line = gLines[(first + i) % kRecentLines];
        visit(line.text, line.length, context);
    }
}

void ForgetRecentLines() {
    gNext = 0;
    gCount = 0;
}
