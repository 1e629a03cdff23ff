# The programs, the program's own libraries, its data and the udev rule.
#
# The programs find the libraries through a RUNPATH relative to themselves and their data through
# Basalt's GetSharePath() (bin/../share/cairn), so an installed tree works under any prefix.

cairn_collect_shared_libraries(${PROJECT_SOURCE_DIR} CAIRN_PRIVATE_LIBRARIES)
list(REMOVE_ITEM CAIRN_PRIVATE_LIBRARIES ${CAIRN_PUBLIC_LIBRARIES})

file(RELATIVE_PATH bin_to_private ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR}/cairn)
file(RELATIVE_PATH bin_to_public ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR})

# The program's libraries are no interface for others: no SONAME version, no headers, a folder of their own.
foreach(lib ${CAIRN_PRIVATE_LIBRARIES})
  set_target_properties(${lib} PROPERTIES INSTALL_RPATH "$ORIGIN;$ORIGIN/..")
  install(TARGETS ${lib} LIBRARY DESTINATION ${CAIRN_PRIVATE_LIBDIR} COMPONENT runtime NAMELINK_SKIP)
endforeach()

foreach(program ${CAIRN_PROGRAMS})
  if(TARGET ${program})
    set_target_properties(${program} PROPERTIES INSTALL_RPATH "$ORIGIN/${bin_to_private};$ORIGIN/${bin_to_public}")
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)
  endif()
endforeach()

# The string tables are installed by lang/ into share/cairn.

# Lets members of plugdev reach the panel without root.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/udev/60-cairn-panel.rules
        DESTINATION lib/udev/rules.d COMPONENT runtime)
