# The quick checks of the install that CI runs; scripts/test-package.sh does the slow, whole one.
if(NOT CAIRN_TESTS)
  return()
endif()

set(packaging_tests ${PROJECT_SOURCE_DIR}/packaging/tests)
# Consumers of a sanitizer build must link the sanitizer runtimes too.
set(consumer_flags "")
if(CAIRN_SANITIZE)
  set(consumer_flags "-fsanitize=address,undefined")
endif()

add_test(NAME install_man_pages
         COMMAND ${packaging_tests}/man_pages.sh ${CMAKE_BINARY_DIR}/bin ${PROJECT_SOURCE_DIR}/packaging/man)
add_test(NAME install_staged COMMAND ${packaging_tests}/staged_install.sh ${CMAKE_BINARY_DIR} "${consumer_flags}")
add_test(NAME install_package_lintian COMMAND ${packaging_tests}/package_lintian.sh ${CMAKE_BINARY_DIR})
# Both install from the same build tree; packaging it while the staged install is checked made the
# staged consumer pick up a library that was not the staged one, so they take turns.
set_tests_properties(install_staged install_package_lintian PROPERTIES TIMEOUT 900 SKIP_RETURN_CODE 77
                     RESOURCE_LOCK cairn_build_tree_install)
