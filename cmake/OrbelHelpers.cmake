# SPDX-License-Identifier: GPL-3.0-or-later
# Shared helpers for the layer and test CMake files.

# Every target includes from the project root: #include "core/Component.h".
set(ORBEL_ROOT ${CMAKE_CURRENT_LIST_DIR}/..)

# Tests that the thread-sanitizer build runs are collected in this target.
add_custom_target(tsan-tests)
# libFuzzer targets are collected in this target.
add_custom_target(fuzzers)

# Precompiled headers: the Qt layers and their tests spend most of their
# compile time parsing the same Qt and GoogleTest headers.
set(ORBEL_QT_PCH_HEADERS
    <QtCore/QObject> <QtCore/QString> <QtCore/QTimer> <QtGui/QColor> <QtGui/QImage>
    <QtGui/QPainter> <QtGui/QMouseEvent> <QtWidgets/QApplication> <QtWidgets/QWidget>
    <algorithm> <cstdint> <functional> <map> <memory> <string> <vector>)

function(orbel_qt_pch target)
  target_precompile_headers(${target} PRIVATE ${ORBEL_QT_PCH_HEADERS})
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

# Whether a target links Qt, directly or through the libraries it links.
function(orbel_links_qt out)
  set(found FALSE)
  foreach(lib ${ARGN})
    if(lib MATCHES "^Qt6::")
      set(found TRUE)
    elseif(TARGET ${lib} AND NOT lib MATCHES "::")
      get_target_property(deps ${lib} INTERFACE_LINK_LIBRARIES)
      get_target_property(type ${lib} TYPE)
      if(NOT type STREQUAL "INTERFACE_LIBRARY")
        get_target_property(private_deps ${lib} LINK_LIBRARIES)
        list(APPEND deps ${private_deps})
      endif()
      list(FILTER deps EXCLUDE REGEX "NOTFOUND$|^\\$<")
      if(deps)
        orbel_links_qt(deps_link_qt ${deps})
        if(deps_link_qt)
          set(found TRUE)
        endif()
      endif()
    endif()
    if(found)
      break()
    endif()
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

# The other test programs share one of GoogleTest and the standard library:
# parsing those headers was a third of each one's compile time. Qt makes
# the programs that link it position-independent, which a precompiled
# header must match: those share a second one.
function(orbel_gtest_pch target links_qt)
  set(holder orbel_gtest_pch)
  if(links_qt)
    set(holder orbel_gtest_pic_pch)
  endif()
  if(NOT TARGET ${holder})
    file(WRITE ${CMAKE_BINARY_DIR}/${holder}.cpp "// precompiled header holder\n")
    add_library(${holder} STATIC ${CMAKE_BINARY_DIR}/${holder}.cpp)
    target_link_libraries(${holder} PUBLIC GTest::gtest GTest::gmock)
    if(links_qt)
      target_link_libraries(${holder} PUBLIC Qt6::Core)
    endif()
    target_include_directories(${holder} PRIVATE ${ORBEL_ROOT})
    target_compile_options(${holder} PRIVATE ${ORBEL_TEST_COMPILE_OPTIONS})
    target_precompile_headers(${holder} PRIVATE <gtest/gtest.h> <gmock/gmock.h> <algorithm>
                              <cmath> <cstdint> <functional> <map> <memory> <string> <vector>)
  endif()
  target_precompile_headers(${target} REUSE_FROM ${holder})
endfunction()

# orbel_add_test(NAME SOURCES ... LIBS ... [LABELS ...] [ENV ...] [TSAN] [AUTOMOC])
# A GoogleTest executable registered with CTest (one CTest test per binary,
# so that sanitizer builds stay quick to enumerate), labelled "unit": quick,
# no sound server, no display (`ctest -L unit`). TSAN adds it to the
# thread-sanitizer set; AUTOMOC runs Qt's moc on its sources.
function(orbel_add_test name)
  cmake_parse_arguments(T "TSAN;AUTOMOC" "" "SOURCES;LIBS;LABELS;ENV" ${ARGN})
  if(ORBEL_FUZZERS OR NOT ORBEL_UNIT_TESTS)
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  target_include_directories(${name} PRIVATE ${ORBEL_ROOT})
  target_compile_options(${name} PRIVATE ${ORBEL_TEST_COMPILE_OPTIONS})
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
  set(uses_qt FALSE)
  foreach(lib platform controls panel)
    if(lib IN_LIST T_LIBS)
      set(uses_qt TRUE)
    endif()
  endforeach()
  if(ORBEL_WITH_QT AND uses_qt)
    orbel_test_pch(${name})
  else()
    orbel_links_qt(links_qt ${T_LIBS})
    orbel_gtest_pch(${name} ${links_qt})
  endif()
  set(labels unit ${T_LABELS})
  if(T_TSAN)
    add_dependencies(tsan-tests ${name})
    list(APPEND labels tsan)
  endif()
  set_tests_properties(${name} PROPERTIES LABELS "${labels}")
  if(T_ENV)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${T_ENV}")
  endif()
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
