# Desktop integration and manual pages: menu entry, icons, the *.kvg file type, AppStream
# metadata, and the manual pages compressed as Debian wants them.

set(desktop ${PROJECT_SOURCE_DIR}/packaging/desktop)
# The menu entry and the software-centre data describe the program: only with it.
if(TARGET cairn)
  install(FILES ${desktop}/cairn.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT runtime)
  install(FILES ${desktop}/cairn.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT runtime)
endif()
install(FILES ${desktop}/cairn-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME cairn.xml COMPONENT runtime)

# The icon: the program's own SVG, and PNG renderings for desktops that want bitmaps.
set(icon ${PROJECT_SOURCE_DIR}/app/ui/art/icon.svg)
set(hicolor ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${icon} DESTINATION ${hicolor}/scalable/apps RENAME cairn.svg COMPONENT runtime)
find_program(CAIRN_RSVG_CONVERT rsvg-convert)
if(CAIRN_RSVG_CONVERT)
  set(pngs)
  foreach(size 16 24 32 48 64 128 256)
    set(png ${CMAKE_BINARY_DIR}/icons/${size}x${size}/cairn.png)
    add_custom_command(OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${size}x${size}
      COMMAND ${CAIRN_RSVG_CONVERT} --width ${size} --height ${size} --output ${png} ${icon}
      DEPENDS ${icon}
      COMMENT "Icon ${size}x${size}"
      VERBATIM)
    list(APPEND pngs ${png})
    install(FILES ${png} DESTINATION ${hicolor}/${size}x${size}/apps COMPONENT runtime)
  endforeach()
  add_custom_target(cairn_icons ALL DEPENDS ${pngs})
else()
  message(WARNING "rsvg-convert (librsvg2-bin) not found: the installed icon is the SVG only")
endif()

# Manual pages, gzip'd without a timestamp so that packages build reproducibly.
file(GLOB CAIRN_MAN_PAGES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/packaging/man/*.1)
set(gzipped)
foreach(page ${CAIRN_MAN_PAGES})
  get_filename_component(name ${page} NAME)
  get_filename_component(program ${page} NAME_WE)
  if(NOT TARGET ${program})
    continue()
  endif()
  set(gz ${CMAKE_BINARY_DIR}/man/${name}.gz)
  add_custom_command(OUTPUT ${gz}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND sh -c "gzip -9 -n -c \"$1\" > \"$2\"" gzip ${page} ${gz}
    DEPENDS ${page}
    VERBATIM)
  list(APPEND gzipped ${gz})
  install(FILES ${gz} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT runtime)
endforeach()
add_custom_target(cairn_man_pages ALL DEPENDS ${gzipped})
