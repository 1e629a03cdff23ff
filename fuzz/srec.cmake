if(TARGET cairn_panel_link)
  cairn_fuzzer(fuzz_srec SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/srec.cpp DEPS cairn_panel_link)
endif()
