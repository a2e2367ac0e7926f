quendrel_add_benchmark(flash_package
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/flash_package.cpp ${CMAKE_SOURCE_DIR}/tests/flash/support/PackageWriter.cpp
  LIBS quendrel_flash quendrel_params quendrel_foundation quendrel_platform)
