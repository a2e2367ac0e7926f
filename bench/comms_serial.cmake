quendrel_add_benchmark(comms_serial
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/comms_serial.cpp
  LIBS quendrel_comms quendrel_drivesim_fixture quendrel_foundation quendrel_platform)
