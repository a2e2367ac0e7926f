# quendrel_add_test(<name> LABEL <area> SOURCES <files...> LIBS <targets...>)
# One GoogleTest executable; every test in it carries the area's ctest label,
# so `ctest -L comms` runs one area. Every test program links the shared test support.
function(quendrel_add_test name)
  cmake_parse_arguments(T "" "LABEL" "SOURCES;LIBS" ${ARGN})
  if(NOT T_LABEL)
    message(FATAL_ERROR "quendrel_add_test(${name}): LABEL is required")
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} quendrel_test_support GTest::gtest GTest::gmock GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${QUENDREL_SRC} ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/tools)
  gtest_discover_tests(${name}
    # Two properties of one entry each: discovery cannot pass a list with ";" in one property.
    PROPERTIES LABELS ${T_LABEL}
      ENVIRONMENT "QUENDREL_TEST_OUTPUT=${CMAKE_BINARY_DIR}/test-output"
      ENVIRONMENT_MODIFICATION "QT_QPA_PLATFORM=set:offscreen"
    # Cases are named by their suites; a raw dump of the parameter adds nothing readable.
    NO_PRETTY_VALUES
    DISCOVERY_TIMEOUT 60)
endfunction()

# quendrel_add_benchmark(<name> SOURCES <files...> LIBS <targets...>)
# Benchmarks share the tests' plain support (temporary folders) and may build test helpers in.
function(quendrel_add_benchmark name)
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(bench_${name} ${B_SOURCES})
  target_link_libraries(bench_${name} PRIVATE ${B_LIBS} quendrel_test_support benchmark::benchmark
                        benchmark::benchmark_main)
  target_include_directories(bench_${name} PRIVATE ${QUENDREL_SRC} ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/tools)
endfunction()

# quendrel_area_library(<target> [SUBDIRS <folders...>] [DEPS <targets...>])
# The area's library from every .cpp in its folder and in the SUBDIRS it names, so several people can
# add files to one area without touching its CMakeLists.txt. Subfolders not named (qt/, runner/) are
# libraries of their own.
function(quendrel_area_library target)
  cmake_parse_arguments(L "" "" "SUBDIRS;DEPS" ${ARGN})
  set(patterns ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  foreach(subdir ${L_SUBDIRS})
    if(NOT IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${subdir})
      message(FATAL_ERROR "quendrel_area_library(${target}): no folder ${subdir}")
    endif()
    list(APPEND patterns ${CMAKE_CURRENT_SOURCE_DIR}/${subdir}/*.cpp)
  endforeach()
  file(GLOB sources CONFIGURE_DEPENDS ${patterns})
  if(sources)
    add_library(${target} STATIC ${sources})
    target_include_directories(${target} PUBLIC ${QUENDREL_SRC})
    target_link_libraries(${target} PUBLIC ${L_DEPS})
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${QUENDREL_SRC})
    target_link_libraries(${target} INTERFACE ${L_DEPS})
  endif()
endfunction()

# quendrel_area_tests(<area> LIBS <targets...>)
# One test executable per *Test.cpp in the folder, named <area>_<File>, labelled with the area.
# The folder's support/*.cpp are compiled once; every test links all of their objects.
function(quendrel_area_tests area)
  cmake_parse_arguments(A "" "" "LIBS" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*Test.cpp)
  file(GLOB support CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/support/*.cpp)
  set(libs ${A_LIBS})
  if(support)
    add_library(${area}_test_support OBJECT ${support})
    target_link_libraries(${area}_test_support PUBLIC ${A_LIBS} quendrel_test_support GTest::gtest GTest::gmock)
    target_include_directories(${area}_test_support PUBLIC
      ${QUENDREL_SRC} ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/tools)
    list(PREPEND libs ${area}_test_support)
  endif()
  foreach(test ${tests})
    get_filename_component(name ${test} NAME_WE)
    quendrel_add_test(${area}_${name} LABEL ${area} SOURCES ${test} LIBS ${libs})
  endforeach()
endfunction()
