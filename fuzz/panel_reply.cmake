cairn_fuzzer(fuzz_panel_reply SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_panel_reply.cpp DEPS cairn_panel_link cairn_model)
