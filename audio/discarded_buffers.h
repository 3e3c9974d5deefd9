// The process-wide list of OpenAL buffers waiting to be deleted. Buffers are
// listed when their sample is discarded or collected and deleted by the audio
// device once no source holds them any more.
#pragma once
#include <vector>

std::vector<unsigned int>& DiscardedBuffers();
