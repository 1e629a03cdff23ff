# JsonDocument::Parse against nlohmann-json on the same generated files.
find_package(nlohmann_json 3 REQUIRED)
add_executable(bench_json ${CMAKE_CURRENT_LIST_DIR}/json_bench.cpp)
target_link_libraries(bench_json PRIVATE basalt benchmark::benchmark nlohmann_json::nlohmann_json)
cairn_defaults(bench_json)
