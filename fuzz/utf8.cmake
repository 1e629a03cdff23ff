cairn_fuzzer(fuzz_utf8 SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_utf8.cpp DEPS basalt)
