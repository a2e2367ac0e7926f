if(TARGET quendrel_flash_qt)
  quendrel_add_benchmark(flash_window SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/flash_window.cpp
                         LIBS quendrel_flash_qt)
endif()
