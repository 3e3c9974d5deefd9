solbrim_fuzz_target(saved_record
  SOURCES ${PROJECT_SOURCE_DIR}/fuzz/saved_record.cpp
  LIBS solbrim_saved_record
  CORPUS ${PROJECT_SOURCE_DIR}/fuzz/corpus/saved_record)
