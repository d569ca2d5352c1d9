# SPDX-License-Identifier: GPL-3.0-or-later
# Shared helpers for the layer and test CMake files.

# Every target includes from the project root: #include "core/Component.h".
set(ORBEL_ROOT ${CMAKE_CURRENT_LIST_DIR}/..)

# Tests that the thread-sanitizer build runs are collected in this target.
add_custom_target(tsan-tests)
# libFuzzer targets are collected in this target.
add_custom_target(fuzzers)

# Programs that no test runs (the picture programs, benchmarks, the
# tone-image writer) are collected in this target. The test command leaves
# them out of its first Release build, which then holds only what its tests
# run, and builds them beside the tests.
option(ORBEL_SIDE_PROGRAMS_APART "Build the programs no test runs only with the target side-programs" OFF)
add_custom_target(side-programs)
function(orbel_side_program target)
  add_dependencies(side-programs ${target})
  if(ORBEL_SIDE_PROGRAMS_APART)
    set_target_properties(${target} PROPERTIES EXCLUDE_FROM_ALL ON)
  endif()
endfunction()

# Precompiled headers: the Qt layers and their tests spend most of their
# compile time parsing the same Qt and GoogleTest headers.
set(ORBEL_QT_PCH_HEADERS
    <QtCore/QObject> <QtCore/QString> <QtCore/QTimer> <QtGui/QColor> <QtGui/QImage>
    <QtGui/QPainter> <QtGui/QMouseEvent> <QtWidgets/QApplication> <QtWidgets/QWidget>
    <algorithm> <cstdint> <functional> <map> <memory> <string> <vector>)

# The first Qt layer to ask for it (platform) builds the header; the layers
# above it reuse that one, built once a build, as they compile with the same
# options.
function(orbel_qt_pch target)
  get_property(owner GLOBAL PROPERTY ORBEL_QT_PCH_OWNER)
  if(owner)
    target_precompile_headers(${target} REUSE_FROM ${owner})
  else()
    target_precompile_headers(${target} PRIVATE ${ORBEL_QT_PCH_HEADERS})
    set_property(GLOBAL PROPERTY ORBEL_QT_PCH_OWNER ${target})
  endif()
endfunction()

# In the sanitizer builds the test programs themselves are compiled without
# optimisation: it more than halves their compile time, while the code they
# test keeps the build's optimisation (and its instrumentation).
set(ORBEL_TEST_COMPILE_OPTIONS "")
if(ORBEL_SANITIZE)
  set(ORBEL_TEST_COMPILE_OPTIONS -O0)
endif()
# A unity build compiles each source as if it were a header included in the
# batch's file, where GCC takes a test fixture in an unnamed namespace for a
# linkage fault.
if(CMAKE_UNITY_BUILD)
  list(APPEND ORBEL_TEST_COMPILE_OPTIONS -Wno-subobject-linkage)
endif()

# Test programs that use Qt share one precompiled header, built once.
function(orbel_test_pch target)
  if(NOT TARGET orbel_qt_test_pch)
    file(WRITE ${CMAKE_BINARY_DIR}/orbel_qt_test_pch.cpp "// precompiled header holder\n")
    add_library(orbel_qt_test_pch STATIC ${CMAKE_BINARY_DIR}/orbel_qt_test_pch.cpp)
    # QtTest stays out: its build-folder macro differs from test to test,
    # which would make the shared header unusable.
    target_link_libraries(orbel_qt_test_pch PUBLIC Qt6::Widgets GTest::gtest GTest::gmock)
    # The header is built as the test programs that use it are compiled.
    target_compile_options(orbel_qt_test_pch PRIVATE ${ORBEL_TEST_COMPILE_OPTIONS})
    target_precompile_headers(orbel_qt_test_pch PRIVATE ${ORBEL_QT_PCH_HEADERS}
                              <gtest/gtest.h> <gmock/gmock.h>)
  endif()
  target_precompile_headers(${target} REUSE_FROM orbel_qt_test_pch)
endfunction()

# A GoogleTest program: its sources and libraries, the project's include
# folder, the tests' compile options, and the Qt tests' shared precompiled
# header when it links one of the Qt layers.
function(orbel_test_executable name)
  cmake_parse_arguments(E "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${E_SOURCES})
  target_link_libraries(${name} PRIVATE ${E_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  target_include_directories(${name} PRIVATE ${ORBEL_ROOT})
  target_compile_options(${name} PRIVATE ${ORBEL_TEST_COMPILE_OPTIONS})
  set(uses_qt FALSE)
  foreach(lib platform controls panel)
    if(lib IN_LIST E_LIBS)
      set(uses_qt TRUE)
    endif()
  endforeach()
  if(ORBEL_WITH_QT AND uses_qt)
    orbel_test_pch(${name})
  endif()
endfunction()

# A unit test's labels, and its environment and COST when given.
function(orbel_test_properties name labels env cost)
  set_tests_properties(${name} PROPERTIES LABELS "${labels}")
  if(env)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}")
  endif()
  if(cost)
    set_tests_properties(${name} PROPERTIES COST ${cost})
  endif()
endfunction()

# orbel_add_test(NAME SOURCES ... LIBS ... [LABELS ...] [ENV ...] [COST seconds] [TSAN] [AUTOMOC])
# A GoogleTest executable registered with CTest (one CTest test per binary,
# so that sanitizer builds stay quick to enumerate), labelled "unit": quick,
# no sound server, no display (`ctest -L unit`). TSAN adds it to the
# thread-sanitizer set; AUTOMOC runs Qt's moc on its sources. COST, about
# the seconds a long program takes under the address sanitizer, lets CTest
# start it first in a fresh build folder, so that it does not run alone at
# the end.
function(orbel_add_test name)
  cmake_parse_arguments(T "TSAN;AUTOMOC" "COST" "SOURCES;LIBS;LABELS;ENV" ${ARGN})
  if(ORBEL_FUZZERS OR NOT ORBEL_UNIT_TESTS)
    return()
  endif()
  orbel_test_executable(${name} SOURCES ${T_SOURCES} LIBS ${T_LIBS})
  add_test(NAME ${name} COMMAND ${name})
  if(T_AUTOMOC)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    # A test's classes are moc'ed into its own sources (#include "x.moc"), so
    # moc's collection file holds nothing: without the precompiled header it
    # compiles in an instant instead of loading the header's hundred
    # megabytes once a program.
    set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/${name}_autogen/mocs_compilation.cpp
                                PROPERTIES SKIP_PRECOMPILE_HEADERS ON)
  endif()
  set(labels unit ${T_LABELS})
  if(T_TSAN)
    add_dependencies(tsan-tests ${name})
    list(APPEND labels tsan)
  endif()
  orbel_test_properties(${name} "${labels}" "${T_ENV}" "${T_COST}")
endfunction()

# orbel_add_test_program(NAME LIBS ... [ENV ...] [SOURCES ...])
# One GoogleTest executable for a folder's test files: their shared headers
# compile once a unity batch and the program links once, where a program a
# file cost a link (and most of a compile) each. Files join it with
# orbel_add_test_part, each part a CTest test of its own that runs only its
# files' tests. One more test fails when the program holds a test that no
# part runs (one the parts' filters miss). SOURCES are files without tests
# (a main of its own).
function(orbel_add_test_program name)
  cmake_parse_arguments(T "" "" "LIBS;ENV;SOURCES" ${ARGN})
  if(ORBEL_FUZZERS OR NOT ORBEL_UNIT_TESTS)
    return()
  endif()
  orbel_test_executable(${name} SOURCES ${T_SOURCES} LIBS ${T_LIBS})
  set_target_properties(${name} PROPERTIES ORBEL_TEST_ENV "${T_ENV}" ORBEL_TEST_FILTERS "")
  add_test(NAME ${name}_parts_run_every_test
           COMMAND ${ORBEL_ROOT}/tools/check-test-parts.sh $<TARGET_FILE:${name}>
                   "$<JOIN:$<TARGET_PROPERTY:${name},ORBEL_TEST_FILTERS>,:>")
  set_tests_properties(${name}_parts_run_every_test PROPERTIES LABELS unit)
  if(T_ENV)
    set_tests_properties(${name}_parts_run_every_test PROPERTIES ENVIRONMENT "${T_ENV}")
  endif()
endfunction()

# orbel_add_test_part(PROGRAM NAME SOURCES ... [LABELS ...] [ENV ...] [COST seconds])
# Adds test files to a program of orbel_add_test_program and registers the
# CTest test NAME that runs their tests (read from their TEST, TEST_F and
# TEST_P lines) through --gtest_filter, with the program's environment
# unless ENV replaces it. A test belongs to one part only.
function(orbel_add_test_part program name)
  cmake_parse_arguments(T "" "COST" "SOURCES;LABELS;ENV" ${ARGN})
  if(NOT TARGET ${program})
    return()
  endif()
  target_sources(${program} PRIVATE ${T_SOURCES})
  get_target_property(program_filters ${program} ORBEL_TEST_FILTERS)
  set(filters "")
  foreach(source ${T_SOURCES})
    get_filename_component(source ${source} ABSOLUTE)
    # A test added to the file reconfigures, so that its part runs it.
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
    file(STRINGS ${source} lines REGEX "^(TEST|TEST_F|TEST_P)\\( *[A-Za-z0-9_]+ *, *[A-Za-z0-9_]+")
    foreach(line ${lines})
      string(REGEX REPLACE "^([A-Z_]+)\\( *([A-Za-z0-9_]+) *, *([A-Za-z0-9_]+).*" "\\1;\\2.\\3"
                           parts "${line}")
      list(GET parts 0 macro)
      list(GET parts 1 test)
      if(macro STREQUAL "TEST_P")
        # Parameterised tests are named [Prefix/]Suite.Name/Parameter.
        set(patterns "${test}/*" "*/${test}/*")
      else()
        set(patterns "${test}")
      endif()
      if(test IN_LIST program_filters OR "${test}/*" IN_LIST program_filters)
        message(FATAL_ERROR "${name}: test ${test} is already in another part of ${program}")
      endif()
      list(APPEND filters ${patterns})
    endforeach()
  endforeach()
  if(NOT filters)
    message(FATAL_ERROR "${name}: no test found in ${T_SOURCES}")
  endif()
  set_property(TARGET ${program} APPEND PROPERTY ORBEL_TEST_FILTERS ${filters})
  list(JOIN filters ":" filter)
  add_test(NAME ${name} COMMAND ${program} --gtest_filter=${filter})
  set(env "${T_ENV}")
  if(NOT env)
    get_target_property(env ${program} ORBEL_TEST_ENV)
  endif()
  orbel_test_properties(${name} "unit;${T_LABELS}" "${env}" "${T_COST}")
endfunction()

# orbel_add_fuzzer(NAME SOURCES ... LIBS ...)
# A libFuzzer target, built only when ORBEL_FUZZERS is on (clang).
function(orbel_add_fuzzer name)
  cmake_parse_arguments(F "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT ORBEL_FUZZERS)
    return()
  endif()
  add_executable(${name} ${F_SOURCES})
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  target_include_directories(${name} PRIVATE ${ORBEL_ROOT})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzzers)
  add_dependencies(fuzzers ${name})
endfunction()
