# CXmlHandler::load over arbitrary file contents, against the tree-based reading in the file tests.
cairn_fuzzer(fuzz_kvg SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_kvg.cpp DEPS cairn_file cairn_model)
if(TARGET fuzz_kvg)
  target_include_directories(fuzz_kvg PRIVATE ${CMAKE_SOURCE_DIR}/app/file/tests)
endif()
