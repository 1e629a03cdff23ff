# The printed reports into PDF: one full panel, and every report of the largest facility.
add_executable(bench_reports ${CMAKE_CURRENT_LIST_DIR}/bench_reports.cpp)
target_link_libraries(bench_reports PRIVATE cairn_reports cairn_model_testkit benchmark::benchmark)
add_dependencies(bench_reports cairn_string_tables)
