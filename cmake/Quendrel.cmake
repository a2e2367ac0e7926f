# quendrel_add_test(<name> LABEL <area> SOURCES <files...> LIBS <targets...>)
# One GoogleTest executable; every test in it carries the area's ctest label,
# so `ctest -L comms` runs one area.
function(quendrel_add_test name)
  cmake_parse_arguments(T "" "LABEL" "SOURCES;LIBS" ${ARGN})
  if(NOT T_LABEL)
    message(FATAL_ERROR "quendrel_add_test(${name}): LABEL is required")
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${QUENDREL_SRC} ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/tools)
  gtest_discover_tests(${name}
    PROPERTIES LABELS ${T_LABEL} ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QUENDREL_TEST_OUTPUT=${CMAKE_BINARY_DIR}/test-output"
    DISCOVERY_TIMEOUT 60)
endfunction()

# quendrel_add_benchmark(<name> SOURCES <files...> LIBS <targets...>)
function(quendrel_add_benchmark name)
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(bench_${name} ${B_SOURCES})
  target_link_libraries(bench_${name} PRIVATE ${B_LIBS} benchmark::benchmark benchmark::benchmark_main)
  target_include_directories(bench_${name} PRIVATE ${QUENDREL_SRC} ${CMAKE_SOURCE_DIR}/tools)
endfunction()
