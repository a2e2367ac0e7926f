if(TARGET quendrel_flash_qt)
  quendrel_add_benchmark(flash_drive_test SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/flash_drive_test.cpp
                         LIBS quendrel_flash_qt quendrel_drivesim_fixture)
endif()
