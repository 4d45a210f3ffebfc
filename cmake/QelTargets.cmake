# Conventions shared by every target of the project: one static library per
# layer or subsystem folder, and one test executable per library, each built
# from the files of its folder so that adding a source needs no list edits.

set(QEL_WARNINGS -Wall -Wextra)

# The asset generators and the whole-program tests need numpy and PIL, which
# Debian's own Python has; the first python3 on PATH may be another.
set(QEL_ASSET_PYTHON /usr/bin/python3 CACHE FILEPATH "Python 3 with numpy and PIL, for the asset generators and tests")

# Folder where the tests find the data fixtures.
set(QEL_TEST_FIXTURES "${PROJECT_SOURCE_DIR}/tests/fixtures")

# The environment every test runs in: no window, no sound device, no waiting
# on message boxes.
set(QEL_TEST_ENVIRONMENT
  "QEL_NONINTERACTIVE=1"
  "SDL_AUDIODRIVER=dummy"
  "SDL_VIDEODRIVER=offscreen"
  "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp"
  "UBSAN_OPTIONS=print_stacktrace=1")

# Every test, discovery included, runs through the test sandbox
# (tools/test-sandbox): in its own overlay of the game's data folder and its
# own settings, configuration and temporary folders, all removed afterwards;
# a test that changes the game's data folder fails. Run a test program by
# hand the same way: build/tools/test-sandbox/test-sandbox data PROGRAM...
set(QEL_TEST_SANDBOX_DIR "${PROJECT_BINARY_DIR}/tools/test-sandbox")
set(QEL_TEST_LAUNCHER env ${QEL_TEST_ENVIRONMENT} "${QEL_TEST_SANDBOX_DIR}/test-sandbox" "${PROJECT_SOURCE_DIR}/data")

# The standard library's and glm's headers that most files of the game read;
# reading them took a quarter of a typical compile. They are precompiled once
# for all the libraries, and once more, with GoogleTest's, for all the tests.
set(QEL_COMMON_HEADERS
  <algorithm> <array> <chrono> <cmath> <cstdint> <cstdio> <cstdlib> <cstring> <filesystem> <fstream>
  <functional> <limits> <map> <memory> <optional> <set> <span> <sstream> <stdexcept> <string>
  <string_view> <unordered_map> <utility> <vector>
  <glm/geometric.hpp> <glm/mat4x4.hpp> <glm/vec2.hpp> <glm/vec3.hpp> <glm/vec4.hpp>
  <glm/gtc/matrix_transform.hpp> <glm/gtc/quaternion.hpp>)

# qel_precompiled_headers(NAME SETTINGS function HEADERS header... [LIBS target...])
# A target that precompiles the headers, compiled as the settings function
# sets a target up, for every target set up the same way to reuse: one empty
# file, built before them.
function(qel_precompiled_headers name)
  cmake_parse_arguments(ARG "" "SETTINGS" "HEADERS;LIBS" ${ARGN})
  if(TARGET ${name})
    return()
  endif()
  set(source "${PROJECT_BINARY_DIR}/${name}.cpp")
  file(CONFIGURE OUTPUT "${source}" CONTENT "// Compiles the precompiled header of ${name}.\n")
  add_library(${name} OBJECT "${source}")
  cmake_language(CALL ${ARG_SETTINGS} ${name})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  target_precompile_headers(${name} PRIVATE ${ARG_HEADERS})
endfunction()

# The compile settings of every library's files.
function(qel_library_compile_settings target)
  target_compile_options(${target} PRIVATE ${QEL_WARNINGS} ${QEL_LIBRARY_OPTIONS})
endfunction()

# qel_library(NAME DIRS dir... [DEPS target...] [OWN_HEADERS header...])
# A static library from every .cpp file directly inside the given folders,
# compiled with QEL_LIBRARY_OPTIONS besides the warnings. A library whose
# files read heavy headers of their own, or that is compiled otherwise,
# precompiles the common headers with its own instead of sharing them.
function(qel_library name)
  cmake_parse_arguments(ARG "" "" "DIRS;DEPS;OWN_HEADERS" ${ARGN})
  set(sources "")
  foreach(dir IN LISTS ARG_DIRS)
    file(GLOB found CONFIGURE_DEPENDS "${dir}/*.cpp")
    list(APPEND sources ${found})
  endforeach()
  qel_precompiled_headers(qel_library_headers SETTINGS qel_library_compile_settings HEADERS ${QEL_COMMON_HEADERS})
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}")
  qel_library_compile_settings(${name})
  if(ARG_OWN_HEADERS)
    target_precompile_headers(${name} PRIVATE ${ARG_OWN_HEADERS} ${QEL_COMMON_HEADERS})
  else()
    target_precompile_headers(${name} REUSE_FROM qel_library_headers)
  endif()
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
endfunction()

# The compile settings every test file shares. Test files are slow to compile
# and quick to run: they are not optimised in any build (the libraries they
# test are, as their build has them).
function(qel_test_compile_settings target)
  target_compile_options(${target} PRIVATE ${QEL_WARNINGS} -O0)
  target_compile_definitions(${target} PRIVATE
    QEL_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    QEL_TEST_FIXTURES="${QEL_TEST_FIXTURES}")
endfunction()

# qel_tests(NAME LABEL label DIRS dir... LIBS target... [PATTERN glob] [EXCLUDE regex])
# One GoogleTest executable from every *Test.cpp file of the given test folders
# (or every file matching PATTERN), leaving out files whose path matches EXCLUDE;
# a folder whose tests need different labels is split this way. Made only
# when the label is one of QEL_TEST_LABELS.
function(qel_tests name)
  cmake_parse_arguments(ARG "" "LABEL;PATTERN;EXCLUDE" "DIRS;LIBS" ${ARGN})
  if(NOT QEL_TESTS OR NOT ARG_LABEL IN_LIST QEL_TEST_LABELS)
    return()
  endif()
  if(NOT ARG_PATTERN)
    set(ARG_PATTERN "*Test.cpp")
  endif()
  set(sources "")
  foreach(dir IN LISTS ARG_DIRS)
    file(GLOB found CONFIGURE_DEPENDS "${dir}/${ARG_PATTERN}")
    list(APPEND sources ${found})
  endforeach()
  if(ARG_EXCLUDE AND sources)
    list(FILTER sources EXCLUDE REGEX "${ARG_EXCLUDE}")
  endif()
  if(NOT sources)
    return()
  endif()
  qel_precompiled_headers(qel_test_headers SETTINGS qel_test_compile_settings
    HEADERS ${QEL_COMMON_HEADERS} <gtest/gtest.h> <gmock/gmock.h> LIBS GTest::gtest GTest::gmock)
  add_executable(${name} ${sources})
  qel_test_compile_settings(${name})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  target_precompile_headers(${name} REUSE_FROM qel_test_headers)
  # Discovered tests cannot carry a list-valued ENVIRONMENT property (the
  # generated script splits it), so every run, discovery included, goes
  # through the launcher instead.
  set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR "${QEL_TEST_LAUNCHER}")
  add_dependencies(${name} test-sandbox)
  # The tests are listed when CTest starts rather than after each link: the
  # build's asset generators write the data folder meanwhile, which the
  # sandbox would take for the listing's doing.
  gtest_discover_tests(${name}
    WORKING_DIRECTORY "${PROJECT_BINARY_DIR}"
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS ${ARG_LABEL} TIMEOUT 300)
endfunction()
