#include "tools/assetgen/music_assets.h"

#include "tools/assetgen/instruments.h"
#include "tools/assetgen/output_file.h"
#include "tools/assetgen/png_file.h"
#include "tools/assetgen/title_song.h"
#include "tools/assetgen/wav_file.h"

void GenerateMusicAssets(const std::filesystem::path& dataDir) {
#define ASSET_SONG(file, compose) WriteFileAtomically(dataDir / file, EncodePng(compose().Render()));
#include "tools/assetgen/asset_catalogue.def"
    for (const SoundAsset& instrument : InstrumentCatalog())
        WriteFileAtomically(dataDir / instrument.file, EncodeWav16Mono(instrument.make(), synth::kHertz));
}
