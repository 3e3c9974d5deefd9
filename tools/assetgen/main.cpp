// assetgen: makes the game's data folder.
//   assetgen DATA_DIR [SHEET_PNG]
#include <cstdio>
#include <exception>

#include "tools/assetgen/generator.h"

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s DATA_DIR [SHEET_PNG]\n", argv[0]);
        return 2;
    }
    try {
        GenerateAssets(argv[1], argc == 3 ? argv[2] : "");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "assetgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
