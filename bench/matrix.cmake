# The cause-and-effect matrix of the largest facility, and its CSV.
add_executable(bench_matrix ${CMAKE_CURRENT_LIST_DIR}/bench_matrix.cpp)
target_link_libraries(bench_matrix PRIVATE cairn_model_testkit benchmark::benchmark)
