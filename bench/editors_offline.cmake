quendrel_add_benchmark(editors_offline
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/editors_offline.cpp
  LIBS quendrel_editors quendrel_drivesim_fc2 quendrel_platform GTest::gtest)
