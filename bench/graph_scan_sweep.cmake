quendrel_add_benchmark(graph_scan_sweep
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/graph_scan_sweep.cpp
  LIBS quendrel_graph_scan_qt quendrel_drivesim_fixture quendrel_drivesim_fc2)
