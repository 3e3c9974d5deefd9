# solbrim_test(NAME SOURCES a.cpp b.cpp LIBS lib1 lib2 [LABELS l1 l2] [SERIAL]
#              [WHOLE [TIMEOUT seconds]])
# One GoogleTest executable; every test case becomes a CTest test. Tests run
# with OpenAL Soft on its null backend and with the LSan suppressions for the
# GL and AL drivers. SERIAL keeps a test from running beside others (tests
# that drive the shared X display with xdotool need that). SOLBRIM_BUILD_DIR
# and SOLBRIM_SOURCE_DIR let tests find built binaries, assets and fixtures.
#
# WHOLE makes the executable one CTest test named NAME instead: the programs
# that open a window or another X connection connect once, not once per
# case, so running tests side by side never crowds the X server. A failing
# case fails the test, and --output-on-failure shows the whole run. Its
# TIMEOUT (default 600 s) covers every case of the program under the
# sanitizers; one case alone gets 300 s.
find_package(GTest REQUIRED)
include(GoogleTest)

# Test executables run through a launcher that sources tests/test-env, the
# one definition of the tests' environment, with this build's folders.
set(SOLBRIM_TEST_LAUNCHER env "SOLBRIM_SOURCE_DIR=${PROJECT_SOURCE_DIR}" "SOLBRIM_BUILD_DIR=${PROJECT_BINARY_DIR}"
  sh -c ". \"\$SOLBRIM_SOURCE_DIR/tests/test-env\" && exec \"\$@\"" test-env)

function(solbrim_test name)
  cmake_parse_arguments(T "SERIAL;WHOLE" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    SOLBRIM_BUILD_DIR="${PROJECT_BINARY_DIR}" SOLBRIM_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR "${SOLBRIM_TEST_LAUNCHER}")
  if(T_TIMEOUT AND NOT T_WHOLE)
    message(FATAL_ERROR "solbrim_test(${name}): TIMEOUT is for WHOLE programs")
  endif()
  if(T_WHOLE)
    if(NOT T_TIMEOUT)
      set(T_TIMEOUT 600)
    endif()
    set(props TIMEOUT ${T_TIMEOUT})
  else()
    set(props TIMEOUT 300)
  endif()
  if(T_LABELS)
    list(APPEND props LABELS "${T_LABELS}")
  endif()
  if(T_SERIAL)
    list(APPEND props RUN_SERIAL TRUE)
  endif()
  if(T_WHOLE)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ${props})
  else()
    # The executable's name prefixes each case, so cases of different areas
    # never clash.
    gtest_discover_tests(${name}
      TEST_PREFIX "${name}."
      DISCOVERY_MODE PRE_TEST
      DISCOVERY_TIMEOUT 60
      PROPERTIES ${props})
  endif()
endfunction()

# solbrim_bench(NAME SOURCES ... LIBS ...): a Google Benchmark executable.
function(solbrim_bench name)
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  find_package(benchmark REQUIRED)
  add_executable(${name} ${B_SOURCES})
  target_link_libraries(${name} PRIVATE ${B_LIBS} benchmark::benchmark benchmark::benchmark_main)
  target_compile_definitions(${name} PRIVATE
    SOLBRIM_BUILD_DIR="${PROJECT_BINARY_DIR}" SOLBRIM_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
endfunction()

# solbrim_fuzz_target(NAME SOURCES ... LIBS ... CORPUS dir)
# The sources define LLVMFuzzerTestOneInput. Every build makes the program
# <name>_replay, which the suite runs on the corpus as the test <name>_corpus;
# a clang build with SOLBRIM_FUZZ=ON also makes the libFuzzer binary <name>.
function(solbrim_fuzz_target name)
  cmake_parse_arguments(F "" "CORPUS" "SOURCES;LIBS" ${ARGN})
  add_executable(${name}_replay ${F_SOURCES} ${PROJECT_SOURCE_DIR}/fuzz/replay_main.cpp)
  target_link_libraries(${name}_replay PRIVATE ${F_LIBS})
  set_target_properties(${name}_replay PROPERTIES CROSSCOMPILING_EMULATOR "${SOLBRIM_TEST_LAUNCHER}")
  if(SOLBRIM_TESTS)
    add_test(NAME ${name}_corpus COMMAND ${name}_replay ${F_CORPUS})
    set_tests_properties(${name}_corpus PROPERTIES LABELS fuzz)
  endif()
  if(SOLBRIM_FUZZ AND CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    add_executable(${name} ${F_SOURCES})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_libraries(${name} PRIVATE ${F_LIBS})
  endif()
endfunction()
