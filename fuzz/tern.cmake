cairn_fuzzer(fuzz_http_request SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_http_request.cpp DEPS tern)
target_include_directories(fuzz_http_request PRIVATE ${CMAKE_SOURCE_DIR}/tern/src)
cairn_fuzzer(fuzz_http_auth SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_http_auth.cpp DEPS tern)
cairn_fuzzer(fuzz_http_client SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_http_client.cpp DEPS tern)
