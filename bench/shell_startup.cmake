quendrel_add_benchmark(shell_startup
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/shell_startup.cpp
  LIBS quendrel_shell)
