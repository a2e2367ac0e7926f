quendrel_add_benchmark(editors_online
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/editors_online.cpp
  LIBS quendrel_editors quendrel_drivesim_fixture quendrel_drivesim_fc2)
