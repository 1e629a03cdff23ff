# The site history: what an upload would change since the last upload of a full panel.
add_executable(bench_history ${CMAKE_CURRENT_LIST_DIR}/bench_history.cpp)
target_link_libraries(bench_history PRIVATE cairn_history cairn_model_testkit benchmark::benchmark)
