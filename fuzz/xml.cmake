cairn_fuzzer(fuzz_xml SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/FuzzXml.cpp DEPS basalt)
