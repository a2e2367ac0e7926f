quendrel_add_benchmark(editors_quick_setup
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/editors_quick_setup.cpp
  LIBS quendrel_editors quendrel_drivesim_fixture quendrel_drivesim_fc2)
