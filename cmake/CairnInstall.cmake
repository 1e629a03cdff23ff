# What `cmake --install` puts where, and the two Debian packages made from it.
#
#   bin/                      cairn, cairnctl, cairn-stc, tern-file-server
#   lib/<arch>/               Basalt, Tern and Mica (versioned, with SONAME); their CMake and pkg-config files
#   lib/<arch>/cairn/         the program's own libraries (model, file, panel link, windows, pictures)
#   include/cairn/            the libraries' public headers (basalt/, tern/, mica/, seams/)
#   share/cairn/              string tables; the programs find it from their own folder (bin/../share/cairn)
#   share/applications, icons, mime, metainfo, man; lib/udev/rules.d
#
# Components: "runtime" becomes the package cairn, "dev" the package cairn-dev.
# Included once at the end of the top-level CMakeLists.txt, when every target exists.

include(GNUInstallDirs)  # the multiarch library folder is chosen in Cairn.cmake
include(CMakePackageConfigHelpers)

set(CAIRN_PRIVATE_LIBDIR ${CMAKE_INSTALL_LIBDIR}/cairn)
set(CAIRN_DATADIR ${CMAKE_INSTALL_DATADIR}/cairn)
set(CAIRN_HEADER_ROOT ${CMAKE_INSTALL_INCLUDEDIR}/cairn)
set(CAIRN_PUBLIC_LIBRARIES basalt tern mica)
set(CAIRN_PROGRAMS cairn cairnctl cairn-stc tern-file-server)

# Basalt's GetSharePath() looks for the data folder at this path relative to the program's own.
file(RELATIVE_PATH CAIRN_SHARE_FROM_BIN ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_DATADIR}/cairn)
target_compile_definitions(basalt PRIVATE CAIRN_SHARE_FROM_BIN="${CAIRN_SHARE_FROM_BIN}")

# Every shared library built from `dir` and the folders under it, except test, benchmark and fuzz code.
function(cairn_collect_shared_libraries dir out)
  set(found)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(t ${targets})
    get_target_property(type ${t} TYPE)
    if(type STREQUAL "SHARED_LIBRARY")
      list(APPEND found ${t})
    endif()
  endforeach()
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub ${subdirs})
    if(NOT sub MATCHES "/(tests|bench|fuzz)(/|$)")
      cairn_collect_shared_libraries(${sub} more)
      list(APPEND found ${more})
    endif()
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

# Include folders given as source paths become build-only; installed, the headers are under include/cairn.
function(cairn_relocatable_includes target)
  get_target_property(dirs ${target} INTERFACE_INCLUDE_DIRECTORIES)
  set(fixed)
  foreach(d ${dirs})
    if(d MATCHES "^\\$<")
      list(APPEND fixed "${d}")
    else()
      list(APPEND fixed "$<BUILD_INTERFACE:${d}>")
    endif()
  endforeach()
  list(APPEND fixed "$<INSTALL_INTERFACE:${CAIRN_HEADER_ROOT}>")
  set_property(TARGET ${target} PROPERTY INTERFACE_INCLUDE_DIRECTORIES ${fixed})
endfunction()

include(${CMAKE_CURRENT_LIST_DIR}/install/Libraries.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/install/Programs.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/install/Desktop.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/install/Package.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/install/Tests.cmake)
