#include "tools/assetgen/contact_sheet.h"

#include <algorithm>
#include <string>

#include "tools/assetgen/pixel_font.h"

namespace {
constexpr int kWidth = 1200;
constexpr int kMargin = 16;
constexpr int kGap = 8;
constexpr int kHeaderHeight = 34;
constexpr int kLabelHeight = 14;
constexpr int kSectionGap = 18;
constexpr RgbaPixel kPage{36, 40, 58, 255};
constexpr RgbaPixel kCheckLight{86, 92, 114, 255};
constexpr RgbaPixel kCheckDark{66, 71, 92, 255};
constexpr RgbaPixel kTitle{255, 214, 110, 255};
constexpr RgbaPixel kLabel{200, 208, 230, 255};
constexpr RgbaPixel kShadow{10, 12, 24, 200};

struct Section {
    const SheetEntry* entry;
    int top, frameW, frameH, perRow, rows;
};

std::vector<Section> Layout(const std::vector<SheetEntry>& entries, int& height) {
    std::vector<Section> sections;
    int y = kMargin;
    for (const SheetEntry& e : entries) {
        Section s{&e, y, e.asset->frameWidth * e.scale, e.asset->frameHeight * e.scale, 0, 0};
        s.perRow = std::max(1, (kWidth - 2 * kMargin + kGap) / (s.frameW + kGap));
        s.rows = (e.asset->frameCount + s.perRow - 1) / s.perRow;
        y += kHeaderHeight + s.rows * (s.frameH + kLabelHeight + kGap) + kSectionGap;
        sections.push_back(s);
    }
    height = y;
    return sections;
}

void Checkerboard(RgbaImage& page, int x, int y, int w, int h) {
    for (int yy = 0; yy < h; ++yy)
        for (int xx = 0; xx < w; ++xx)
            page.Set(x + xx, y + yy, ((xx / 8 + yy / 8) % 2) ? kCheckDark : kCheckLight);
}

std::string Title(const SheetEntry& e) {
    const ImageAsset& a = *e.asset;
    std::string title = a.name + "  " + std::to_string(a.frameWidth) + "x" + std::to_string(a.frameHeight) +
                        "  " + std::to_string(a.frameCount) + " frames";
    bool hasLevel2 = std::find(a.levels.begin(), a.levels.end(), 2) != a.levels.end();
    title += hasLevel2 ? "  (level 2)" : "  (level 1, shown x" + std::to_string(e.scale) + ")";
    return title;
}

void DrawSection(RgbaImage& page, const Section& s) {
    const SheetEntry& e = *s.entry;
    pixel_font::DrawText(page, Title(e), kMargin, s.top + 4, 2, kTitle, kShadow);
    const int atlasColumns = e.asset->columns;
    for (int f = 0; f < e.asset->frameCount; ++f) {
        int x = kMargin + (f % s.perRow) * (s.frameW + kGap);
        int y = s.top + kHeaderHeight + (f / s.perRow) * (s.frameH + kLabelHeight + kGap);
        Checkerboard(page, x, y, s.frameW, s.frameH);
        page.BlendFrom(e.atlas, (f % atlasColumns) * s.frameW, (f / atlasColumns) * s.frameH, s.frameW, s.frameH, x,
                       y);
        pixel_font::DrawText(page, std::to_string(f), x, y + s.frameH + 2, 1, kLabel, kShadow);
    }
}
}  // namespace

RgbaImage ContactSheet(const std::vector<SheetEntry>& entries) {
    int height = 0;
    std::vector<Section> sections = Layout(entries, height);
    RgbaImage page(kWidth, height);
    page.FillRect(0, 0, kWidth, height, kPage);
    for (const Section& s : sections) DrawSection(page, s);
    return page;
}
