# Saving and loading the largest facility the editors allow.
add_executable(bench_file ${CMAKE_CURRENT_LIST_DIR}/bench_file.cpp)
target_link_libraries(bench_file PRIVATE cairn_file cairn_model_testkit benchmark::benchmark)
