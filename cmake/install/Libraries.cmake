# Basalt, Tern and Mica for other programs: versioned shared libraries with their headers, a CMake
# package each (find_package(Tern) gives Cairn::tern) and a pkg-config file each.

set(CAIRN_INSTALL_TEMPLATES ${CMAKE_CURRENT_LIST_DIR})
# The major version names the binary interface; it is 0 while the interfaces still move.
set(CAIRN_SOVERSION ${PROJECT_VERSION_MAJOR})

# cairn_install_public_library(target Package HEADERS dir... [INTERFACE_TARGETS t...]
#                              [DEPENDENCIES "find_dependency(...)"...] [PC_REQUIRES text] DESCRIPTION text)
function(cairn_install_public_library target package)
  cmake_parse_arguments(A "" "PC_REQUIRES;DESCRIPTION" "HEADERS;INTERFACE_TARGETS;DEPENDENCIES" ${ARGN})
  set_target_properties(${target} PROPERTIES VERSION ${PROJECT_VERSION} SOVERSION ${CAIRN_SOVERSION})
  foreach(t ${target} ${A_INTERFACE_TARGETS})
    cairn_relocatable_includes(${t})
  endforeach()
  install(TARGETS ${target} ${A_INTERFACE_TARGETS} EXPORT ${package}Targets
          LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT dev)
  install(DIRECTORY ${A_HEADERS} DESTINATION ${CAIRN_HEADER_ROOT} COMPONENT dev)

  set(cmakedir ${CMAKE_INSTALL_LIBDIR}/cmake/${package})
  install(EXPORT ${package}Targets NAMESPACE Cairn:: DESTINATION ${cmakedir} COMPONENT dev)
  set(CAIRN_PACKAGE_NAME ${package})
  string(REPLACE ";" "\n" CAIRN_PACKAGE_DEPENDENCIES "${A_DEPENDENCIES}")
  set(out ${CMAKE_BINARY_DIR}/install/${package})
  configure_package_config_file(${CAIRN_INSTALL_TEMPLATES}/PackageConfig.cmake.in ${out}/${package}Config.cmake
                                INSTALL_DESTINATION ${cmakedir})
  # 0.x releases break the interface between minor versions.
  write_basic_package_version_file(${out}/${package}ConfigVersion.cmake COMPATIBILITY SameMinorVersion)
  install(FILES ${out}/${package}Config.cmake ${out}/${package}ConfigVersion.cmake
          DESTINATION ${cmakedir} COMPONENT dev)

  set(CAIRN_PC_NAME ${package})
  set(CAIRN_PC_LIBRARY ${target})
  set(CAIRN_PC_REQUIRES "${A_PC_REQUIRES}")
  set(CAIRN_PC_DESCRIPTION "${A_DESCRIPTION}")
  # The prefix is the one installed to, known only then: CPack installs under /usr whatever the
  # build was configured with.
  set(CAIRN_PC_PREFIX "%PREFIX%")
  configure_file(${CAIRN_INSTALL_TEMPLATES}/library.pc.in ${out}/${target}.pc.in @ONLY)
  install(CODE "
    file(READ \"${out}/${target}.pc.in\" pc)
    string(REPLACE \"%PREFIX%\" \"\${CMAKE_INSTALL_PREFIX}\" pc \"\${pc}\")
    set(pcdir \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}/pkgconfig\")
    message(STATUS \"Installing: \${pcdir}/${target}.pc\")
    file(WRITE \"\${pcdir}/${target}.pc\" \"\${pc}\")" COMPONENT dev)
endfunction()

# The dependency of another Cairn package is looked for beside this one first.
set(CAIRN_FIND_BASALT "find_dependency(Basalt ${PROJECT_VERSION} HINTS \"\${CMAKE_CURRENT_LIST_DIR}/..\")")

cairn_install_public_library(basalt Basalt
  HEADERS ${PROJECT_SOURCE_DIR}/basalt/include/basalt
  DESCRIPTION "Strings, XML and JSON documents, string tables, date and time, configuration files, CRC-16, Base64")

cairn_install_public_library(tern Tern
  HEADERS ${PROJECT_SOURCE_DIR}/tern/include/tern
  DEPENDENCIES "${CAIRN_FIND_BASALT}"
  PC_REQUIRES basalt
  DESCRIPTION "TCP sockets and an HTTP/1.1 server and client with Digest authorization")

if(TARGET mica)
  # Mica's wait dialog implements the program's seam interfaces, so those headers come along.
  set_target_properties(cairn_seams PROPERTIES EXPORT_NAME seams)
  cairn_install_public_library(mica Mica
    HEADERS ${PROJECT_SOURCE_DIR}/mica/include/mica ${PROJECT_SOURCE_DIR}/app/seams/include/seams
    INTERFACE_TARGETS cairn_seams
    DEPENDENCIES "${CAIRN_FIND_BASALT}" "find_dependency(Qt6 COMPONENTS Widgets)"
    PC_REQUIRES "basalt Qt6Widgets"
    DESCRIPTION "Widget toolkit over Qt Widgets: layouts, image buttons, wait and progress dialogs")
endif()
