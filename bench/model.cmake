# The facility model at the largest size the editors allow.
add_executable(bench_model ${CMAKE_CURRENT_LIST_DIR}/bench_model.cpp)
target_link_libraries(bench_model PRIVATE cairn_model_testkit benchmark::benchmark)

add_executable(bench_model_diff ${CMAKE_CURRENT_LIST_DIR}/bench_model_diff.cpp)
target_link_libraries(bench_model_diff PRIVATE cairn_model_testkit benchmark::benchmark)
