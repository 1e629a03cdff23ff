# CXmlHandler::load over arbitrary file contents.
cairn_fuzzer(fuzz_kvg SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_kvg.cpp DEPS cairn_file cairn_model)
