if(TARGET quendrel_tree_qt)
  quendrel_add_benchmark(tree_layout_paint SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/tree_layout_paint.cpp
                         LIBS quendrel_tree_qt)
endif()
