# What `cmake --install` lays out, below the install prefix:
#   bin/                         orbelle, orbelle-render, orbelle-station, foxhost
#   lib/orbelle/                 morse.so and velalib.so, the extension libraries foxhost loads
#   libexec/orbelle/start-map    the menu entry's launcher
#   share/orbelle/mapdata/       the outline files, their licence and how they were made
#   share/orbelle/help/          the map's own help page
#   share/dbus-1/services/       Orbelle.server.service: how the session bus starts the map
#   share/applications/          orbelle.desktop, the menu entry; its icon in share/icons/
#   share/man/man1/              the manual pages
#   lib/systemd/user/            orbelle-station.service: the station as a user service
#   share/doc/orbelle/copyright  whose the files are and under which licences
# The map programs find their data from where they are: share/orbelle beside their bin/. The
# files that name installed programs (the bus service, the menu entry, the user unit) are written
# at install time from the prefix in use then, so that `cmake --install BUILD --prefix DIR`
# gives a tree whose files point into DIR. cmake/Package.cmake makes the Debian package of it.
include(GNUInstallDirs)

set(ORBELLE_DATA_DIR ${CMAKE_INSTALL_DATADIR}/orbelle)
set(ORBELLE_LIBRARY_DIR lib/orbelle)
set(ORBELLE_LIBEXEC_DIR ${CMAKE_INSTALL_LIBEXECDIR}/orbelle)
set(packaging ${PROJECT_SOURCE_DIR}/packaging)

foreach(program orbelle orbelle-render orbelle-station foxhost)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()
foreach(library morse velalib)
  if(TARGET ${library})
    install(TARGETS ${library} LIBRARY DESTINATION ${ORBELLE_LIBRARY_DIR}
      PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  endif()
endforeach()

# Every outline file and licence file in mapdata/, whatever files it gains.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/mapdata/ DESTINATION ${ORBELLE_DATA_DIR}/mapdata
  FILES_MATCHING PATTERN "*.pnt" PATTERN "*.velapnt" PATTERN "COPYING*" PATTERN "README.md")
install(FILES ${PROJECT_SOURCE_DIR}/map/shell/help/map.html DESTINATION ${ORBELLE_DATA_DIR}/help)

install(PROGRAMS ${packaging}/start-map.sh DESTINATION ${ORBELLE_LIBEXEC_DIR} RENAME start-map)
install(FILES ${packaging}/orbelle.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${packaging}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/orbelle)

# Manual pages, compressed as Debian keeps them (gzip -n: the same bytes on every build).
set(man_pages)
foreach(page orbelle orbelle-render orbelle-station foxhost)
  set(compressed ${CMAKE_BINARY_DIR}/man/${page}.1.gz)
  add_custom_command(OUTPUT ${compressed}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND sh -c "gzip -9nc '${packaging}/man/${page}.1' > '${compressed}'"
    DEPENDS ${packaging}/man/${page}.1
    VERBATIM)
  list(APPEND man_pages ${compressed})
endforeach()
add_custom_target(orbelle_man_pages ALL DEPENDS ${man_pages})
install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# A template whose @ORBELLE_BINDIR@, @ORBELLE_LIBEXECDIR@ and @ORBELLE_EXEC@ (the map program)
# become the installed paths, written when installing into `destination`.
function(orbelle_install_configured template destination)
  get_filename_component(name ${template} NAME)
  string(REGEX REPLACE "\\.in$" "" name ${name})
  set(written ${CMAKE_BINARY_DIR}/install-time/${name})
  install(CODE "
    set(ORBELLE_BINDIR \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    set(ORBELLE_LIBEXECDIR \"\${CMAKE_INSTALL_PREFIX}/${ORBELLE_LIBEXEC_DIR}\")
    set(ORBELLE_EXEC \"\${ORBELLE_BINDIR}/orbelle\")
    configure_file(\"${template}\" \"${written}\" @ONLY)
    file(INSTALL \"${written}\" DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${destination}\")")
endfunction()

orbelle_install_configured(${PROJECT_SOURCE_DIR}/map/server/dbus/Orbelle.server.service.in
  ${CMAKE_INSTALL_DATADIR}/dbus-1/services)
orbelle_install_configured(${packaging}/orbelle.desktop.in ${CMAKE_INSTALL_DATADIR}/applications)
orbelle_install_configured(${packaging}/orbelle-station.service.in lib/systemd/user)

include(${CMAKE_CURRENT_LIST_DIR}/Package.cmake)
