if(TARGET quendrel_graph_pane_qt)
  quendrel_add_benchmark(graph_columns SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/graph_columns.cpp
                         LIBS quendrel_graph_pane quendrel_graph_pane_qt)
endif()
