# The undo history on the largest facility: what 100 entries hold, what one undo or redo costs.
add_executable(bench_undo ${CMAKE_CURRENT_LIST_DIR}/bench_undo.cpp)
target_link_libraries(bench_undo PRIVATE cairn_model_testkit benchmark::benchmark)
