# Appending one character at a time: KvBasicString in its growth modes against std::u16string.
add_executable(bench_strings ${CMAKE_CURRENT_LIST_DIR}/strings_bench.cpp)
target_link_libraries(bench_strings PRIVATE basalt benchmark::benchmark)
cairn_defaults(bench_strings)
