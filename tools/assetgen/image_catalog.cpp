#include "tools/assetgen/image_catalog.h"

#include "tools/assetgen/art.h"
#include "tools/assetgen/font_atlas.h"

std::vector<ImageAsset> ImageCatalog() {
    // Atlas columns keep every sheet a power of two wide and no wider than
    // 2048 pixels at level 4.
    std::vector<ImageAsset> images = {
        {"world001", 32, 32, 50, 16, art::WorldTile, nullptr},
        {"eyes", 32, 32, 1, 1, art::EyesSprite, nullptr},
        {"heart", 32, 32, 1, 1, art::HeartSprite, nullptr},
        {"BadgesA", 64, 64, 64, 8, art::Badge, nullptr},
        {"fonts/editundo", 16, 16, 128, 16, nullptr, font_atlas::EditUndo},
        {"common/Testcard_Circle", 256, 256, 1, 1, art::TestCard, nullptr},
        {"common/icade", 64, 64, 2, 2, art::ArcadeStick, nullptr},
        {"common/TIRNLogo", 256, 256, 1, 1, art::MakerEmblem, nullptr},
        {"common/dpad", 32, 32, 16, 4, art::DpadPiece, nullptr},
        {"common/Buttons", 64, 64, 16, 4, art::ModeButton, nullptr},
        {"parts", 8, 8, 16, 4, art::Particle, nullptr},
        {"common/icons", 32, 32, 16, 4, art::Icon, nullptr},
        {"logo", 256, 128, 1, 1, art::TitleLogo, nullptr},
        {"menu", 256, 256, 4, 2, art::MenuArt, nullptr},
    };
    // The framework's default font exists at one resolution only.
    ImageAsset brio{"brio_font", font_atlas::kBrioCellWidth, font_atlas::kCellSize, font_atlas::kBrioCellCount,
                    font_atlas::kBrioCellCount, nullptr, font_atlas::BrioFont};
    brio.levels = {1};
    images.push_back(brio);
    return images;
}
