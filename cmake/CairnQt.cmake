# Qt-specific helpers for the widget targets (Mica, the program's windows).

# cairn_qt_test(name SOURCES ... DEPS ...): a GoogleTest program with widgets. It runs
# on the offscreen platform, so tests need no display; the sources bring their own main()
# that creates the QApplication (and skips it for --gtest_list_tests, which ctest runs
# without the test environment).
function(cairn_qt_test name)
  if(NOT CAIRN_TESTS)
    return()
  endif()
  cmake_parse_arguments(A "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE ${A_DEPS} cairn_testkit GTest::gtest GTest::gmock)
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  cairn_defaults(${name})
  # One variable per property: the discovery splits a list value into property names.
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                       WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}
                       PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
                                  ENVIRONMENT_MODIFICATION "CAIRN_BIN_DIR=set:${CMAKE_BINARY_DIR}/bin")
endfunction()
