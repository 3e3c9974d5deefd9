#include "audio/sound.h"

int c_Sound::Discard() {
    if (sample) {
        sample->Discard();
        sample = nullptr;
    }
    return 0;
}
