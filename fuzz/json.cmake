cairn_fuzzer(fuzz_json SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_json.cpp DEPS basalt)
