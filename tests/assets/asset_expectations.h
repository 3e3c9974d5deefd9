// What the game expects of the images in its data/ folder, written down
// independently of the generator: each image's frame grid as the game loads
// it and the frames that may be blank. Which files exist at all is the
// generator's catalogue (tools/assetgen/asset_catalogue.def).
#pragma once
#include <string>
#include <vector>

struct ExpectedImage {
    std::string name;
    int frameWidth;
    int frameHeight;
    int frames;
    std::vector<int> spare;  // frames allowed to be empty
    std::vector<int> levels;

    bool IsSpare(int frame) const;
    std::string File(int level) const;
};

const std::vector<ExpectedImage>& ExpectedImages();
const ExpectedImage& Expected(const std::string& name);

std::string DataDir();  // the build's data folder
// The files the build names as the generator's outputs, as CMake read them
// from the catalogue (tools/asset-files.txt in the build), in order.
std::vector<std::string> BuildAssetFiles();
