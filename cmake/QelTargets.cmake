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

# qel_library(NAME DIRS dir... [DEPS target...])
# A static library from every .cpp and .c file directly inside the given
# folders, compiled with QEL_LIBRARY_OPTIONS besides the warnings.
function(qel_library name)
  cmake_parse_arguments(ARG "" "" "DIRS;DEPS" ${ARGN})
  set(sources "")
  foreach(dir IN LISTS ARG_DIRS)
    file(GLOB found CONFIGURE_DEPENDS "${dir}/*.cpp" "${dir}/*.c")
    list(APPEND sources ${found})
  endforeach()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}")
  target_compile_options(${name} PRIVATE ${QEL_WARNINGS} ${QEL_LIBRARY_OPTIONS})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
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
  add_executable(${name} ${sources})
  target_compile_options(${name} PRIVATE ${QEL_WARNINGS})
  target_compile_definitions(${name} PRIVATE
    QEL_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    QEL_TEST_FIXTURES="${QEL_TEST_FIXTURES}")
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  # GoogleTest's and GoogleMock's headers take a test file longer to read than
  # many of its tests take to compile: each test program parses them once.
  target_precompile_headers(${name} PRIVATE <gtest/gtest.h> <gmock/gmock.h>)
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
