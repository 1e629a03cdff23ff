# Host-side cost of moving one full panel through the virtual panel, with the bulk transfers it takes.
add_executable(bench_panel_link ${CMAKE_CURRENT_LIST_DIR}/panel_link_bench.cpp)
target_link_libraries(bench_panel_link PRIVATE cairn_panel_link cairn_virtual_panel cairn_model_testkit benchmark::benchmark)
cairn_defaults(bench_panel_link)
