cairn_fuzzer(fuzz_history_record SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_history_record.cpp DEPS cairn_history)
