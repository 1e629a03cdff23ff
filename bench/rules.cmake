# The event-action editor on the largest facility: both trees built, one item's rule list filled.
if(TARGET cairn_ui)
  add_executable(bench_rules_editor ${CMAKE_CURRENT_LIST_DIR}/bench_rules_editor.cpp)
  target_link_libraries(bench_rules_editor PRIVATE cairn_ui cairn_model_testkit benchmark::benchmark)
  add_dependencies(bench_rules_editor cairn_string_tables)
endif()
