solbrim_fuzz_target(wav_reader
  SOURCES ${PROJECT_SOURCE_DIR}/fuzz/wav_reader.cpp
  LIBS solbrim_codec
  CORPUS ${PROJECT_SOURCE_DIR}/fuzz/corpus/wav_reader)
