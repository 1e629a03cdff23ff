cairn_fuzzer(fuzz_stringtable SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_stringtable.cpp DEPS basalt)
cairn_fuzzer(fuzz_pofile SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_pofile.cpp DEPS cairn_po)
