quendrel_add_benchmark(flash_parse
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/flash_parse.cpp
  LIBS quendrel_flash quendrel_foundation quendrel_platform)
