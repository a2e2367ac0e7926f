quendrel_add_benchmark(flash_script_load
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/flash_script_load.cpp
  LIBS quendrel_flash quendrel_comms quendrel_foundation quendrel_platform)
