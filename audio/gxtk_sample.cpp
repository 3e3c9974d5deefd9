#include "audio/gxtk_sample.h"

#include "audio/discarded_buffers.h"
#include "audio/gxtk_audio.h"

gxtkSample::~gxtkSample() {
    Discard();
    // The device may still name this sample on a channel whose sound ended;
    // that name must not outlive the sample.
    if (gAudioDevice) gAudioDevice->ForgetSample(this);
}

int gxtkSample::Discard() {
    if (buffer == 0) return 0;
    if (gAudioDevice && gAudioDevice->Generation() == deviceGeneration) DiscardedBuffers().push_back(buffer);
    buffer = 0;
    return 0;
}
