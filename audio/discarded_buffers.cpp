#include "audio/discarded_buffers.h"

std::vector<unsigned int>& DiscardedBuffers() {
    static std::vector<unsigned int> buffers;
    return buffers;
}
