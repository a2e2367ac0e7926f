quendrel_add_benchmark(graph_data
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/graph_data.cpp
  LIBS quendrel_graph_data quendrel_foundation quendrel_platform)
