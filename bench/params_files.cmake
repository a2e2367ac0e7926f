quendrel_add_benchmark(params_files
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/params_files.cpp
  LIBS quendrel_params quendrel_foundation quendrel_platform)
