# SPDX-License-Identifier: GPL-3.0-or-later
# A client's longest lines through the session.
if(TARGET remote)
  add_executable(remote_bench ${CMAKE_CURRENT_LIST_DIR}/remote_session.cpp)
  target_include_directories(remote_bench PRIVATE ${ORBEL_ROOT})
  target_link_libraries(remote_bench PRIVATE remote benchmark::benchmark)
endif()
