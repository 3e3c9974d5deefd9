#include "tools/assetgen/generator.h"

#include <algorithm>
#include <string>
#include <vector>

#include "host/data_marker.h"
#include "host/game_version.h"
#include "tools/assetgen/app_icon.h"
#include "tools/assetgen/contact_sheet.h"
#include "tools/assetgen/image_catalog.h"
#include "tools/assetgen/instruments.h"
#include "tools/assetgen/music_assets.h"
#include "tools/assetgen/output_file.h"
#include "tools/assetgen/png_file.h"
#include "tools/assetgen/sound_catalog.h"
#include "tools/assetgen/wav_file.h"

void GenerateAssets(const std::filesystem::path& dataDir, const std::filesystem::path& sheetPath) {
    const std::vector<ImageAsset> images = ImageCatalog();
    std::vector<SheetEntry> sheet;
    for (const ImageAsset& asset : images) {
        for (int level : asset.levels) {
            RgbaImage atlas = asset.Render(level);
            WriteFileAtomically(dataDir / asset.FileName(level), EncodePng(atlas));
            if (level == 2) sheet.push_back({&asset, std::move(atlas), 2});
        }
        if (std::find(asset.levels.begin(), asset.levels.end(), 2) == asset.levels.end())
            sheet.push_back({&asset, asset.Render(1).ScaledNearest(2), 2});
    }
    for (const SoundAsset& sound : SoundCatalog())
        WriteFileAtomically(dataDir / sound.file, EncodeWav16Mono(sound.make(), synth::kHertz));
    for (int size : kIconSizes) WriteFileAtomically(dataDir / AppIconFileName(size), EncodePng(RenderAppIcon(size)));
    for (const PageIcon& icon : kPageIcons) WriteFileAtomically(dataDir / icon.file, EncodePng(RenderPageIcon(icon)));
    GenerateMusicAssets(dataDir);
    const std::string marker = DataMarkerText(kGameVersion);
    WriteFileAtomically(dataDir / kDataMarkerName, std::vector<std::uint8_t>(marker.begin(), marker.end()));
    if (!sheetPath.empty()) WriteFileAtomically(sheetPath, EncodePng(ContactSheet(sheet)));
}

std::vector<std::string> AssetFiles() {
    std::vector<std::string> files;
    for (const ImageAsset& asset : ImageCatalog())
        for (int level : asset.levels) files.push_back(asset.FileName(level));
    for (int size : kIconSizes) files.push_back(AppIconFileName(size));
    for (const PageIcon& icon : kPageIcons) files.push_back(icon.file);
    for (const SoundAsset& sound : SoundCatalog()) files.push_back(sound.file);
#define ASSET_SONG(file, compose) files.push_back(file);
#include "tools/assetgen/asset_catalogue.def"
    for (const SoundAsset& instrument : InstrumentCatalog()) files.push_back(instrument.file);
    files.push_back(kDataMarkerName);
    std::sort(files.begin(), files.end());
    return files;
}
