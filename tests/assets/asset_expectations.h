// What the game expects of its data/ folder, written down independently of
// the generator: every image with its frame grid and the frames that may be
// blank, and the sound files.
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
const std::vector<std::string>& ExpectedSounds();
const std::vector<int>& ExpectedIconSizes();  // "icon-<size>.png", square
std::vector<std::string> ExpectedFiles();  // every path under data/

std::string DataDir();  // the build's data folder
