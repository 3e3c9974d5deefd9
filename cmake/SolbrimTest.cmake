# solbrim_test(NAME SOURCES a.cpp b.cpp LIBS lib1 lib2 [LABELS l1 l2])
# One GoogleTest executable; every test case becomes a CTest test. Tests run
# with OpenAL Soft on its null backend and with the LSan suppressions for the
# GL and AL drivers; SOLBRIM_BUILD_DIR and SOLBRIM_SOURCE_DIR let tests find
# built binaries, generated assets and fixtures.
find_package(GTest REQUIRED)
include(GoogleTest)

set(SOLBRIM_TEST_ENV
  "ALSOFT_CONF=${PROJECT_SOURCE_DIR}/tests/alsoft-null.conf"
  "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0"
  "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"
  "SOLBRIM_BUILD_DIR=${PROJECT_BINARY_DIR}"
  "SOLBRIM_SOURCE_DIR=${PROJECT_SOURCE_DIR}")

function(solbrim_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    SOLBRIM_BUILD_DIR="${PROJECT_BINARY_DIR}" SOLBRIM_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "${SOLBRIM_TEST_ENV}" LABELS "${T_LABELS}" TIMEOUT 300)
endfunction()
