# Windows build (mingw-w64 cross compiler): tomel.exe, the in-process tests and the end-to-end tests.

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(TOMEL_BITS 64)
else()
  set(TOMEL_BITS 32)
endif()

add_compile_definitions(UNICODE _UNICODE NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601 TOMEL_BITS=${TOMEL_BITS})
add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-Wall> $<$<COMPILE_LANGUAGE:CXX>:-Wextra>)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -DTOMEL_BITS=${TOMEL_BITS}")
# Statically linked runtime: the programs need only system DLLs.
add_link_options(-static -static-libgcc -static-libstdc++)
# Hardened: ASLR (with relocations, high-entropy on 64-bit), DEP, and the terminal-server-aware flag
# that Windows GUI programs carry.
add_link_options(-Wl,--dynamicbase -Wl,--nxcompat -Wl,--tsaware)
if(TOMEL_BITS EQUAL 64)
  add_link_options(-Wl,--high-entropy-va)
endif()
# Reproducible: no link time in the header, no build folder in the program.
add_link_options(-Wl,--no-insert-timestamp)
add_compile_options(-ffile-prefix-map=${CMAKE_SOURCE_DIR}/=  -ffile-prefix-map=${CMAKE_BINARY_DIR}/=)

set(TOMEL_SYSTEM_LIBS user32 gdi32 comdlg32 shell32 ole32 oleaut32 uuid winmm psapi)

add_library(tomel_core STATIC ${CORE_SOURCES})
target_include_directories(tomel_core PUBLIC ${CMAKE_SOURCE_DIR})

add_library(tomel_shell STATIC ${WIN_SOURCES})
target_include_directories(tomel_shell PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(tomel_shell PUBLIC tomel_core ${TOMEL_SYSTEM_LIBS})

set(TOMEL_RC ${CMAKE_SOURCE_DIR}/res/tomel.rc)
file(GLOB TOMEL_RES_DEPS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/res/*)
set_source_files_properties(${TOMEL_RC} PROPERTIES OBJECT_DEPENDS "${TOMEL_RES_DEPS}")

include(cmake/delay-import.cmake)

add_executable(tomel WIN32 ${ENTRY_SOURCE} ${TOMEL_RC})
target_link_libraries(tomel PRIVATE tomel_shell)
tomel_delay_import(tomel comdlg32 winmm)
target_link_options(tomel PRIVATE -municode -mwindows)
# The program ships stripped; a Debug build keeps its symbols.
target_link_options(tomel PRIVATE $<$<NOT:$<CONFIG:Debug>>:-s>)
add_custom_command(TARGET tomel POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${HELP_TEXT} $<TARGET_FILE_DIR:tomel>/Tomel.txt)

# In-process tests: a console GoogleTest program linked with the program's own objects and
# resources; it creates the real main window and drives it with messages. GoogleTest's sources come
# from Debian's googletest package, or from TOMEL_GTEST_DIR (for example a checkout on Windows).
set(TOMEL_GTEST_DIR /usr/src/googletest CACHE PATH "GoogleTest sources for the in-process tests")
if(NOT EXISTS ${TOMEL_GTEST_DIR}/CMakeLists.txt)
  message(STATUS "No GoogleTest sources at ${TOMEL_GTEST_DIR}: building the program only")
  return()
endif()
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${TOMEL_GTEST_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

file(GLOB WINE_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/wine/*.cpp)
add_executable(wine_tests ${WINE_TEST_SOURCES} ${TOMEL_RC})
target_link_libraries(wine_tests PRIVATE tomel_shell gtest gmock version)
tomel_delay_import(wine_tests comdlg32 winmm)
target_include_directories(wine_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/wine)
target_compile_definitions(wine_tests PRIVATE TOMEL_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data")
# A folder of its own: the program reads and writes "tomel.ini" beside itself.
set_target_properties(wine_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
add_custom_command(TARGET wine_tests POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${HELP_TEXT} $<TARGET_FILE_DIR:wine_tests>/Tomel.txt)
# Pictures for the in-process tests, made by ImageMagick where it is installed (the picture tests
# are skipped without them): a 48 by 32 red picture in each format the imaging component reads, an
# icon file of three sizes, a PNG whose left half is see-through, a 4000 by 3000 photo, and a red
# bitmap whose two top rows are blue.
find_program(TOMEL_CONVERT convert)
set(TOMEL_TEST_PICTURES "")
if(TOMEL_CONVERT)
  set(TOMEL_TEST_PICTURES ${CMAKE_BINARY_DIR}/tests/pictures)
  set(pictures)
  foreach(name red.jpg red.gif red.png red.ico)
    list(APPEND pictures ${TOMEL_TEST_PICTURES}/${name})
    add_custom_command(OUTPUT ${TOMEL_TEST_PICTURES}/${name}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${TOMEL_TEST_PICTURES}
      COMMAND ${TOMEL_CONVERT} -size 48x32 xc:red ${TOMEL_TEST_PICTURES}/${name} VERBATIM)
  endforeach()
  add_custom_command(OUTPUT ${TOMEL_TEST_PICTURES}/red.bmp ${TOMEL_TEST_PICTURES}/sizes.ico
      ${TOMEL_TEST_PICTURES}/half.png ${TOMEL_TEST_PICTURES}/photo.jpg ${TOMEL_TEST_PICTURES}/banded.bmp
    COMMAND ${CMAKE_COMMAND} -E make_directory ${TOMEL_TEST_PICTURES}
    COMMAND ${TOMEL_CONVERT} -size 48x32 xc:red BMP3:${TOMEL_TEST_PICTURES}/red.bmp
    COMMAND ${TOMEL_CONVERT} -size 48x48 xc:red -define icon:auto-resize=48,32,16 ${TOMEL_TEST_PICTURES}/sizes.ico
    COMMAND ${TOMEL_CONVERT} -size 24x32 xc:none -size 24x32 xc:red +append ${TOMEL_TEST_PICTURES}/half.png
    COMMAND ${TOMEL_CONVERT} -size 4000x3000 gradient:red-blue -quality 85 ${TOMEL_TEST_PICTURES}/photo.jpg
    COMMAND ${TOMEL_CONVERT} -size 48x2 xc:blue -size 48x30 xc:red -append BMP3:${TOMEL_TEST_PICTURES}/banded.bmp
    VERBATIM)
  list(APPEND pictures ${TOMEL_TEST_PICTURES}/red.bmp ${TOMEL_TEST_PICTURES}/sizes.ico
       ${TOMEL_TEST_PICTURES}/half.png ${TOMEL_TEST_PICTURES}/photo.jpg ${TOMEL_TEST_PICTURES}/banded.bmp)
  add_custom_target(test_pictures DEPENDS ${pictures})
  add_dependencies(wine_tests test_pictures)
endif()
target_compile_definitions(wine_tests PRIVATE TOMEL_TEST_PICTURES="${TOMEL_TEST_PICTURES}")
# One ctest test per test, listed from the sources rather than by running the program: where the
# program cannot run (a 32-bit build on a machine that runs no 32-bit programs) each test is still
# known, and reported as skipped (exit code 77 from the emulator, scripts/wine-run.sh).
foreach(src ${WINE_TEST_SOURCES})
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${src})
  file(STRINGS ${src} lines REGEX "^[ \t]*TEST(_F)?\\(")
  foreach(line ${lines})
    if(NOT line MATCHES "^[ \t]*TEST(_F)?\\([ \t]*([A-Za-z0-9_]+)[ \t]*,[ \t]*([A-Za-z0-9_]+)[ \t]*\\)")
      message(FATAL_ERROR "${src}: cannot read the test name in: ${line}")
    endif()
    set(test_name ${CMAKE_MATCH_2}.${CMAKE_MATCH_3})
    add_test(NAME wine${TOMEL_BITS}.${test_name} COMMAND wine_tests --gtest_filter=${test_name})
    set_tests_properties(wine${TOMEL_BITS}.${test_name} PROPERTIES TIMEOUT 120 SKIP_RETURN_CODE 77)
  endforeach()
endforeach()

# End-to-end tests: the real tomel.exe under Wine, driven with xdotool (only when cross-built).
set(E2E_SCRIPTS)
if(CMAKE_CROSSCOMPILING)
  file(GLOB E2E_SCRIPTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/test_*.sh)
endif()
foreach(script ${E2E_SCRIPTS})
  get_filename_component(name ${script} NAME_WE)
  string(REPLACE "test_" "" short ${name})
  add_test(NAME e2e${TOMEL_BITS}.${short}
    COMMAND bash ${script} $<TARGET_FILE:tomel> ${CMAKE_BINARY_DIR}/e2e/${short})
  set_tests_properties(e2e${TOMEL_BITS}.${short} PROPERTIES TIMEOUT 180 RUN_SERIAL TRUE SKIP_RETURN_CODE 77)
endforeach()

# Benchmarks: not tests; `make bench` runs them. empty_dialog is the floor of the start-up figure,
# built with the same toolchain and link options as the program.
add_executable(empty_dialog WIN32 ${CMAKE_SOURCE_DIR}/bench/empty/empty_dialog.c ${CMAKE_SOURCE_DIR}/bench/empty/empty_dialog.rc)
target_link_options(empty_dialog PRIVATE -municode -mwindows -s)
set_target_properties(empty_dialog PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
file(GLOB BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*.cpp)
if(BENCH_SOURCES)
  add_executable(tomel_bench ${BENCH_SOURCES} ${TOMEL_RC})
  target_link_libraries(tomel_bench PRIVATE tomel_shell)
  target_compile_options(tomel_bench PRIVATE -O2)
endif()

# Holds the virtual desktop open between tests (scripts/wine-session.sh starts it).
add_executable(keeper WIN32 ${CMAKE_SOURCE_DIR}/tests/keeper/keeper.c)
set_target_properties(keeper PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
