#include "tests/assets/asset_expectations.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

namespace {
std::vector<int> Range(int from, int to) {
    std::vector<int> v;
    for (int i = from; i <= to; ++i) v.push_back(i);
    return v;
}
std::vector<int> Join(std::vector<int> a, const std::vector<int>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
const std::vector<int> kAllLevels{1, 2, 4};
}  // namespace

bool ExpectedImage::IsSpare(int frame) const { return std::find(spare.begin(), spare.end(), frame) != spare.end(); }

std::string ExpectedImage::File(int level) const {
    return name + (level == 2 ? "-hd" : level == 4 ? "-hd2" : "") + ".png";
}

const std::vector<ExpectedImage>& ExpectedImages() {
    static const std::vector<ExpectedImage> images = {
        {"world001", 32, 32, 50, Join(Range(1, 9), Range(19, 49)), kAllLevels},
        {"eyes", 32, 32, 1, {}, kAllLevels},
        {"heart", 32, 32, 1, {}, kAllLevels},
        {"BadgesA", 64, 64, 64, {}, kAllLevels},
        {"fonts/editundo", 16, 16, 128, Join({0}, Range(96, 127)), kAllLevels},
        {"common/Testcard_Circle", 256, 256, 1, {}, kAllLevels},
        {"common/icade", 64, 64, 2, {}, kAllLevels},
        {"common/TIRNLogo", 256, 256, 1, {}, kAllLevels},
        {"common/dpad", 32, 32, 16, {}, kAllLevels},
        {"common/Buttons", 64, 64, 16, Range(3, 14), kAllLevels},
        {"parts", 8, 8, 16, {}, kAllLevels},
        {"common/icons", 32, 32, 16, {2, 7, 11, 12, 13, 14, 15}, kAllLevels},
        {"logo", 256, 128, 1, {}, kAllLevels},
        {"menu", 256, 256, 4, {3}, kAllLevels},
        {"brio_font", 10, 16, 96, {0}, {1}},
    };
    return images;
}

const ExpectedImage& Expected(const std::string& name) {
    for (const ExpectedImage& e : ExpectedImages())
        if (e.name == name) return e;
    throw std::out_of_range(name);
}

std::string DataDir() { return std::string(SOLBRIM_BUILD_DIR) + "/data"; }

std::vector<std::string> BuildAssetFiles() {
    std::ifstream in(std::string(SOLBRIM_BUILD_DIR) + "/tools/asset-files.txt");
    if (!in) throw std::runtime_error("the build has no tools/asset-files.txt");
    std::vector<std::string> files;
    for (std::string line; std::getline(in, line);)
        if (!line.empty()) files.push_back(line);
    return files;
}
