quendrel_add_benchmark(flash_engine
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/flash_engine.cpp
  LIBS quendrel_flash quendrel_foundation quendrel_platform quendrel_comms)
