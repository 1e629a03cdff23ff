# The desktop program's start-up to its main window shown, offscreen, without the splash.
if(TARGET cairn_ui)
  add_executable(bench_ui_startup ${CMAKE_CURRENT_LIST_DIR}/bench_ui_startup.cpp)
  target_link_libraries(bench_ui_startup PRIVATE cairn_ui)
  add_dependencies(bench_ui_startup cairn_string_tables)
endif()

# The loops editor on the largest facility: tree shown, expanded, one edit and one rebuild.
if(TARGET cairn_ui)
  add_executable(bench_loops_editor ${CMAKE_CURRENT_LIST_DIR}/bench_loops_editor.cpp)
  target_link_libraries(bench_loops_editor PRIVATE cairn_ui cairn_model_testkit)
  add_dependencies(bench_loops_editor cairn_string_tables)
endif()

# The cause-and-effect matrix window over the largest facility, to its first paint.
if(TARGET cairn_ui)
  add_executable(bench_ui_matrix ${CMAKE_CURRENT_LIST_DIR}/bench_ui_matrix.cpp)
  target_link_libraries(bench_ui_matrix PRIVATE cairn_ui cairn_model_testkit)
  add_dependencies(bench_ui_matrix cairn_string_tables)
endif()
