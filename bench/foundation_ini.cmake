quendrel_add_benchmark(foundation_ini
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/foundation_ini.cpp
  LIBS quendrel_foundation)
