# The record codec is compiled into the target so that libFuzzer's coverage
# instrumentation sees it.
solbrim_fuzz_target(saved_record
  SOURCES ${PROJECT_SOURCE_DIR}/fuzz/saved_record.cpp
          ${PROJECT_SOURCE_DIR}/game/shell/saved_record.cpp
  LIBS solbrim_runtime
  CORPUS ${PROJECT_SOURCE_DIR}/fuzz/corpus/saved_record)
