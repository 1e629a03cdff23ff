cairn_fuzzer(fuzz_tzif SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_tzif.cpp DEPS basalt)
