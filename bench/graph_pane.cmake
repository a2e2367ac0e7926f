if(TARGET quendrel_graph_pane_qt)
  quendrel_add_benchmark(graph_pane SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/graph_pane.cpp
                         LIBS quendrel_graph_pane quendrel_graph_pane_qt)
endif()
