solbrim_fuzz_target(image_decoder
  SOURCES ${PROJECT_SOURCE_DIR}/fuzz/image_decoder.cpp
  LIBS solbrim_codec
  CORPUS ${PROJECT_SOURCE_DIR}/fuzz/corpus/image_decoder)
