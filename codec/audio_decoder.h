// DecodeAudioFile: a whole sound file into interleaved PCM for OpenAL.
#pragma once
#include <cstdio>

#include "runtime/string.h"

// Reads the rest of an open file as WAV, or as Ogg Vorbis when the path ends
// in ".ogg" (any case). Returns a malloc'ed buffer (free with std::free) of
// length × channels × format bytes and fills the outputs: length in sample
// frames, format in bytes per sample, hertz the sample rate. Null when the
// file is not one it can read; *reason (when given) then says why in a few
// words. Does not close the file.
unsigned char* DecodeAudioFile(FILE* file, const String& path, int* length, int* channels, int* format, int* hertz,
                               const char** reason = nullptr);
