cairn_fuzzer(fuzz_cfgfile SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_cfgfile.cpp DEPS basalt)
