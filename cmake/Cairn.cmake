# Shared settings for Cairn's own targets.

# Installed libraries go to the multiarch folder under any prefix, as Debian's linker
# configuration expects (GNUInstallDirs alone chooses it only for the prefix /usr).
if(NOT DEFINED CMAKE_INSTALL_LIBDIR AND CMAKE_LIBRARY_ARCHITECTURE)
  set(CMAKE_INSTALL_LIBDIR lib/${CMAKE_LIBRARY_ARCHITECTURE} CACHE PATH "Object code libraries (lib/<multiarch>)")
endif()
include(GNUInstallDirs)

set(CAIRN_WARNINGS -Wall -Wextra -Werror)
# g++ 12 at -O3 reports overlaps and out-of-bounds copies inside std::string and
# std::vector that cannot happen (its -Wrestrict/-Warray-bounds/-Wstringop-* false
# positives after inlining); keep them visible as warnings without failing the build.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  list(APPEND CAIRN_WARNINGS -Wno-error=restrict -Wno-error=array-bounds
       -Wno-error=stringop-overflow -Wno-error=stringop-overread)
endif()

if(CAIRN_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# ThreadSanitizer build (its own build folder; see scripts/tsan.sh).
if(CAIRN_TSAN)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()

# cairn_defaults(target): warnings as errors on our own code.
function(cairn_defaults target)
  target_compile_options(${target} PRIVATE ${CAIRN_WARNINGS})
endfunction()

# cairn_library(name SOURCES ... [DEPS ...]): a shared library with public headers under include/.
function(cairn_library name)
  cmake_parse_arguments(A "" "" "SOURCES;DEPS;PRIVATE_DEPS" ${ARGN})
  add_library(${name} SHARED ${A_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/include)
  target_link_libraries(${name} PUBLIC ${A_DEPS} PRIVATE ${A_PRIVATE_DEPS})
  cairn_defaults(${name})
endfunction()

# Header-only helpers every test program gets (a temporary folder of its own, ...).
add_library(cairn_testkit INTERFACE)
target_include_directories(cairn_testkit INTERFACE ${CMAKE_CURRENT_LIST_DIR}/../testkit/include)

# cairn_test(name SOURCES ... DEPS ...): a GoogleTest program whose cases ctest runs one by one.
function(cairn_test name)
  if(NOT CAIRN_TESTS)
    return()
  endif()
  cmake_parse_arguments(A "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE ${A_DEPS} cairn_testkit GTest::gtest GTest::gtest_main GTest::gmock)
  cairn_defaults(${name})
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                       WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}
                       # One variable per property: the discovery splits a list value into property names.
                       PROPERTIES ENVIRONMENT "CAIRN_BIN_DIR=${CMAKE_BINARY_DIR}/bin"
                                  ENVIRONMENT_MODIFICATION "CAIRN_SOURCE_DIR=set:${CMAKE_SOURCE_DIR}")
endfunction()

if(CAIRN_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
