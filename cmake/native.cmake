# Native Linux build: the pure core, its unit tests under AddressSanitizer and UBSan,
# and libFuzzer targets (clang).

set(SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
add_compile_options(-Wall -Wextra -g)

add_library(tomel_core STATIC ${CORE_SOURCES})
target_include_directories(tomel_core PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(tomel_core PRIVATE ${SANITIZE})
# Catch a stray windows.h in a pure file at compile time.
target_compile_definitions(tomel_core PUBLIC TOMEL_NATIVE=1)

# Fuzz targets get their own instrumented copy of the core, optimised whatever the build type:
# unoptimised code runs several times fewer inputs a second. The checks for pointer arithmetic
# that wraps and for misaligned access are left to the unit tests: in every loop over the text
# they cost a third of the time, and AddressSanitizer still sees every access out of bounds.
set(FUZZ_OPTIMISE -O2 -fno-sanitize=pointer-overflow,alignment)
add_library(tomel_core_fuzz STATIC ${CORE_SOURCES})
target_include_directories(tomel_core_fuzz PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(tomel_core_fuzz PRIVATE -fsanitize=fuzzer-no-link,address,undefined ${FUZZ_OPTIMISE})
# The splitter's characters reach it through the fuzz target's alphabet, so tracing its comparisons
# cannot steer the fuzzer; it only makes the splitter's inner loops several times slower.
set(FUZZ_NO_CMP_TRACE -fno-sanitize-coverage=trace-cmp)
set_property(SOURCE ${CMAKE_SOURCE_DIR}/core/text/entries.cpp APPEND PROPERTY COMPILE_OPTIONS
             $<$<STREQUAL:$<TARGET_PROPERTY:NAME>,tomel_core_fuzz>:${FUZZ_NO_CMP_TRACE}>)
set(FUZZ_OPTIONS_text_splitter ${FUZZ_NO_CMP_TRACE})

set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
foreach(t gtest gtest_main gmock)
  target_compile_options(${t} PRIVATE ${SANITIZE})
endforeach()

file(GLOB UNIT_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
add_executable(unit_tests ${UNIT_TEST_SOURCES})
target_compile_options(unit_tests PRIVATE ${SANITIZE})
target_link_options(unit_tests PRIVATE ${SANITIZE})
target_link_libraries(unit_tests PRIVATE tomel_core gtest_main gmock)
target_compile_definitions(unit_tests PRIVATE TOMEL_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data")
include(GoogleTest)
gtest_discover_tests(unit_tests DISCOVERY_TIMEOUT 60)

# Each tests/fuzz/fuzz_<name>.cpp is a libFuzzer target, run for a bounded time by ctest
# on its seed corpus in tests/fuzz/corpus/<name>, with inputs of at most FUZZ_MAX_LEN_<name> bytes.
file(GLOB FUZZ_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/fuzz_*.cpp)
set(TOMEL_FUZZ_SECONDS 20 CACHE STRING "seconds each fuzz target runs in the test suite")
# The splitter's input is a compact code of its text (runs make long lines); a settings file is
# a few kilobytes, and its lines are read 254 characters at a time.
set(FUZZ_MAX_LEN_text_splitter 4096)
set(FUZZ_MAX_LEN_ini_reader 4096)
foreach(src ${FUZZ_SOURCES})
  get_filename_component(name ${src} NAME_WE)
  string(REPLACE "fuzz_" "" short ${name})
  if(DEFINED FUZZ_MAX_LEN_${short})
    set(max_len ${FUZZ_MAX_LEN_${short}})
  else()
    set(max_len 4096)
  endif()
  add_executable(${name} ${src})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined ${FUZZ_OPTIMISE} ${FUZZ_OPTIONS_${short}})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_libraries(${name} PRIVATE tomel_core_fuzz)
  set(corpus_dir ${CMAKE_BINARY_DIR}/fuzz-corpus/${short})
  add_test(NAME fuzz.${short}
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=1
            sh -c "mkdir -p '${corpus_dir}' && exec '$<TARGET_FILE:${name}>' -max_total_time=${TOMEL_FUZZ_SECONDS} -max_len=${max_len} -print_final_stats=0 '${corpus_dir}' '${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/${short}'")
endforeach()

# Both Windows programs checked as files (headers, imports, resources): runs on every machine,
# also where the 32-bit program cannot be run. The builds are found beside this one.
get_filename_component(TOMEL_BUILD_ROOT ${CMAKE_BINARY_DIR} DIRECTORY)
add_test(NAME program_files COMMAND python3 ${CMAKE_SOURCE_DIR}/tests/pe/check_programs.py ${TOMEL_BUILD_ROOT})

# Includes point one way: core < state < shell < main, no circles between subsystems, no Windows
# header in plain code.
add_test(NAME layers COMMAND python3 ${CMAKE_SOURCE_DIR}/tests/layers/check_layers.py ${CMAKE_SOURCE_DIR})
add_test(NAME layers.self_test COMMAND python3 ${CMAKE_SOURCE_DIR}/tests/layers/check_layers.py --self-test)

# Two builds of the committed sources in different folders give the same programs and zip.
add_test(NAME reproducible COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/check-reproducible.sh)
set_tests_properties(reproducible PROPERTIES TIMEOUT 1200)
