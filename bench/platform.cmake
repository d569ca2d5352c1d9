# SPDX-License-Identifier: GPL-3.0-or-later
# The drawing surface's own pixel work: 1-pixel lines, filled ellipses and
# outlines, and a stretched bitmap, on off-screen bitmaps of dial size.
if(TARGET platform)
  add_executable(platform_bench ${CMAKE_CURRENT_LIST_DIR}/platform_canvas.cpp)
  target_include_directories(platform_bench PRIVATE ${ORBEL_ROOT})
  target_link_libraries(platform_bench PRIVATE platform benchmark::benchmark)
endif()
