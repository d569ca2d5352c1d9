# Shared helpers for the layer and test CMake files.

# Every target includes from the project root: #include "core/Component.h".
set(ORBEL_ROOT ${CMAKE_CURRENT_LIST_DIR}/..)

# Tests that the thread-sanitizer build runs are collected in this target.
add_custom_target(tsan-tests)
# libFuzzer targets are collected in this target.
add_custom_target(fuzzers)

# orbel_add_test(NAME SOURCES ... LIBS ... [LABELS ...] [TSAN])
# A GoogleTest executable registered with CTest (one CTest test per binary,
# so that sanitizer builds stay quick to enumerate). TSAN adds it to the
# thread-sanitizer set.
function(orbel_add_test name)
  cmake_parse_arguments(T "TSAN" "" "SOURCES;LIBS;LABELS;ENV" ${ARGN})
  if(ORBEL_FUZZERS)
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  target_include_directories(${name} PRIVATE ${ORBEL_ROOT})
  add_test(NAME ${name} COMMAND ${name})
  set(labels ${T_LABELS})
  if(T_TSAN)
    add_dependencies(tsan-tests ${name})
    list(APPEND labels tsan)
  endif()
  if(labels)
    set_tests_properties(${name} PROPERTIES LABELS "${labels}")
  endif()
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
