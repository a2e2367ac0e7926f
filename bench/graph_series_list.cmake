quendrel_add_benchmark(graph_series_list SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/graph_series_list.cpp
                       LIBS quendrel_graph_controls)
