quendrel_add_benchmark(foundation_checksums
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/foundation_checksums.cpp
  LIBS quendrel_foundation)
