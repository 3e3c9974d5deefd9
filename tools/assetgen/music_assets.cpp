#include "tools/assetgen/music_assets.h"

#include "tools/assetgen/instruments.h"
#include "tools/assetgen/output_file.h"
#include "tools/assetgen/png_file.h"
#include "tools/assetgen/title_song.h"
#include "tools/assetgen/wav_file.h"

void GenerateMusicAssets(const std::filesystem::path& dataDir) {
    WriteFileAtomically(dataDir / title_song::kFile, EncodePng(title_song::Compose().Render()));
    for (const SoundAsset& instrument : InstrumentCatalog())
        WriteFileAtomically(dataDir / instrument.file, EncodeWav16Mono(instrument.make(), synth::kHertz));
}
