# The read-back after an upload against the download itself, through the handler and the virtual panel.
add_executable(bench_transfer_verify ${CMAKE_CURRENT_LIST_DIR}/transfer_verify_bench.cpp)
target_link_libraries(bench_transfer_verify PRIVATE cairn_panel_link cairn_virtual_panel cairn_model_testkit
                                                    benchmark::benchmark)
target_include_directories(bench_transfer_verify PRIVATE ${PROJECT_SOURCE_DIR}/app/panel_link/tests)
cairn_defaults(bench_transfer_verify)
