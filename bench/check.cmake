# The facility check on the largest facility; the whole check is meant to stay under 100 ms.
add_executable(bench_check ${CMAKE_CURRENT_LIST_DIR}/bench_check.cpp)
target_link_libraries(bench_check PRIVATE cairn_check cairn_model_testkit benchmark::benchmark)
