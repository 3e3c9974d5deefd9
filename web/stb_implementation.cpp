// The stb decoders' implementation for the browser build, where the
// system's shared stb library cannot be linked.
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

#include <stb_vorbis.h>
