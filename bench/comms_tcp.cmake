quendrel_add_benchmark(comms_tcp
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/comms_tcp.cpp
  LIBS quendrel_comms quendrel_drivesim_fixture quendrel_foundation quendrel_platform)
