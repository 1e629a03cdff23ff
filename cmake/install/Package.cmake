# Two Debian packages made by CPack from the install: cairn (programs, runtime libraries, data,
# desktop files, udev rule) and cairn-dev (headers, CMake and pkg-config files). The shared-library
# dependencies are worked out from the binaries by dpkg-shlibdeps.
#
#   cmake -S . -B build-pkg -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr && cmake --build build-pkg
#   cpack --config build-pkg/CPackConfig.cmake -B build-pkg/packages

set(debian ${PROJECT_SOURCE_DIR}/packaging/debian)
install(FILES ${debian}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT runtime)
install(FILES ${debian}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/cairn-dev COMPONENT dev)
set(changelog ${CMAKE_BINARY_DIR}/debian/changelog.gz)
add_custom_command(OUTPUT ${changelog}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/debian
  COMMAND sh -c "gzip -9 -n -c \"$1\" > \"$2\"" gzip ${debian}/changelog ${changelog}
  DEPENDS ${debian}/changelog
  VERBATIM)
add_custom_target(cairn_changelog ALL DEPENDS ${changelog})
install(FILES ${changelog} DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT runtime)
install(FILES ${changelog} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/cairn-dev COMPONENT dev)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME cairn)
set(CPACK_PACKAGE_VENDOR "The Cairn developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_COMPONENTS_ALL runtime dev)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Cairn developers <cairn-dev@example.org>")
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The program's libraries and Basalt are found in the package being built, not on the system.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_LIBRARY_OUTPUT_DIRECTORY})
# Our own shlibs file and an ldconfig trigger instead of CPack's, whose maintainer scripts call
# ldconfig directly; our maintainer scripts (given, so CPack writes none) apply the udev rule.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
set(shlibs "")
foreach(lib ${CAIRN_PUBLIC_LIBRARIES})
  string(APPEND shlibs "lib${lib} ${CAIRN_SOVERSION} cairn (= ${PROJECT_VERSION})\n")
endforeach()
file(WRITE ${CMAKE_BINARY_DIR}/debian/shlibs "${shlibs}")
file(WRITE ${CMAKE_BINARY_DIR}/debian/triggers "activate-noawait ldconfig\n")
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_EXTRA ${CMAKE_BINARY_DIR}/debian/shlibs ${CMAKE_BINARY_DIR}/debian/triggers
    ${debian}/postinst ${debian}/postrm)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_STRICT_PERMISSION ON)

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME cairn)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_RUNTIME_DESCRIPTION "configuration tool for addressable fire-alarm control panels
Cairn describes a facility: its panels, up to eight detection loops per panel,
the addressable elements on each loop, zones and cause-and-effect rules. It
saves the facility as an XML *.kvg file, moves a panel's configuration to and
from the panel over USB, sets the panel clock, exports the event logs to CSV,
updates the panel firmware and prints reports.

The package holds the desktop program cairn, the command-line companion
cairnctl, the string-table compiler cairn-stc, the example HTTP file server
tern-file-server, and the shared libraries Basalt, Mica and Tern.")

set(CPACK_DEBIAN_DEV_PACKAGE_NAME cairn-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS "cairn (= ${PROJECT_VERSION}), qt6-base-dev")
set(CPACK_DEBIAN_DEV_DESCRIPTION "development files for Cairn's Basalt, Mica and Tern libraries
Headers, CMake package files (find_package(Basalt), find_package(Mica),
find_package(Tern), giving the targets Cairn::basalt, Cairn::mica and
Cairn::tern) and pkg-config files for programs that embed the libraries:
Basalt (strings, XML and JSON, string tables, date and time), Mica (widgets
over Qt) and Tern (TCP sockets, an HTTP/1.1 server and client with Digest
authorization).")

include(CPack)
