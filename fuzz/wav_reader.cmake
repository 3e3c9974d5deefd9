# The reader's sources are compiled into the target itself so that libFuzzer's
# coverage instrumentation sees them (the library is built without it).
solbrim_fuzz_target(wav_reader
  SOURCES ${PROJECT_SOURCE_DIR}/fuzz/wav_reader.cpp
          ${PROJECT_SOURCE_DIR}/audio/wav_reader.cpp
          ${PROJECT_SOURCE_DIR}/audio/audio_decoder.cpp
  LIBS solbrim_runtime PkgConfig::STB
  CORPUS ${PROJECT_SOURCE_DIR}/fuzz/corpus/wav_reader)
