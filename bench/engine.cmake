# SPDX-License-Identifier: GPL-3.0-or-later
# Wave image builds against a memset of the same size and against SoX
# making the same signal; prints the ratios at the end.
if(TARGET engine)
  add_executable(engine_bench ${CMAKE_CURRENT_LIST_DIR}/engine_build_image.cpp)
  target_include_directories(engine_bench PRIVATE ${ORBEL_ROOT})
  target_link_libraries(engine_bench PRIVATE engine benchmark::benchmark)
endif()

# Streaming a tone against looping its image, as the output plays them.
if(TARGET engine AND TARGET audio)
  add_executable(engine_stream_bench ${CMAKE_CURRENT_LIST_DIR}/engine_stream.cpp)
  target_include_directories(engine_stream_bench PRIVATE ${ORBEL_ROOT})
  target_link_libraries(engine_stream_bench PRIVATE engine audio benchmark::benchmark)
endif()

# Building multitones, and rendering them and stepped sweeps.
if(TARGET engine)
  add_executable(engine_multitone_bench ${CMAKE_CURRENT_LIST_DIR}/engine_multitone.cpp)
  target_include_directories(engine_multitone_bench PRIVATE ${ORBEL_ROOT})
  target_link_libraries(engine_multitone_bench PRIVATE engine benchmark::benchmark)
endif()

# A shape's tables for a retune, as built now against the former way.
if(TARGET engine)
  add_executable(engine_retune_tables_bench ${CMAKE_CURRENT_LIST_DIR}/engine_retune_tables.cpp)
  target_include_directories(engine_retune_tables_bench PRIVATE ${ORBEL_ROOT})
  target_link_libraries(engine_retune_tables_bench PRIVATE engine benchmark::benchmark)
endif()
