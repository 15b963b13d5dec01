# What `cmake --install` lays out, below the install prefix:
#   bin/                         orbelle, orbelle-render, orbelle-station, foxhost
#   lib/<triplet>/orbelle/       morse.so and velalib.so, the extension libraries foxhost loads
#   libexec/orbelle/start-map    the menu entry's launcher
#   share/orbelle/mapdata/       the outline files, their licence and how they were made
#   share/orbelle/help/          the map's own help page
#   share/dbus-1/services/       Orbelle.server.service: how the session bus starts the map
#   share/applications/          orbelle.desktop, the menu entry; its icon in share/icons/
#   share/man/man1/              the manual pages
#   lib/systemd/user/            orbelle-station.service: the station as a user service
#   share/doc/orbelle/           copyright (whose the files are, under which licences), changelog
# The map programs find their data from where they are: share/orbelle beside their bin/. The
# files that name installed programs (the bus service, the menu entry, the user unit) are written
# at install time from the prefix in use then, so that `cmake --install BUILD --prefix DIR`
# gives a tree whose files point into DIR. cmake/Package.cmake makes the Debian package of it.
include(GNUInstallDirs)

set(ORBELLE_DATA_DIR ${CMAKE_INSTALL_DATADIR}/orbelle)
# Private libraries for one architecture: lib/<multiarch triplet>/orbelle on Debian.
if(CMAKE_LIBRARY_ARCHITECTURE)
  set(ORBELLE_LIBRARY_DIR lib/${CMAKE_LIBRARY_ARCHITECTURE}/orbelle)
else()
  set(ORBELLE_LIBRARY_DIR lib/orbelle)
endif()
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

# The manual pages and the package's change log, with the version, the package's library folder
# and its maintainer filled in, compressed as Debian keeps them (gzip -n: the same bytes on
# every build).
set(ORBELLE_PACKAGE_MAINTAINER "orbelle developers <orbelle@localhost>" CACHE STRING
  "Maintainer of the Debian package: Name <address>")
set(ORBELLE_LIBRARIES /usr/${ORBELLE_LIBRARY_DIR})
set(compressed ${CMAKE_BINARY_DIR}/compressed)
set(man_pages)
foreach(template man/orbelle.1.in man/orbelle-render.1.in man/orbelle-station.1.in
                 man/foxhost.1.in changelog.Debian.in)
  get_filename_component(name ${template} NAME_WLE)
  configure_file(${packaging}/${template} ${compressed}/${name} @ONLY)
  add_custom_command(OUTPUT ${compressed}/${name}.gz
    COMMAND gzip -9nfk ${name}
    WORKING_DIRECTORY ${compressed}
    DEPENDS ${compressed}/${name})
  if(name MATCHES "\\.1$")
    list(APPEND man_pages ${compressed}/${name}.gz)
  endif()
endforeach()
add_custom_target(orbelle_compressed_docs ALL
  DEPENDS ${man_pages} ${compressed}/changelog.Debian.gz)
install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${compressed}/changelog.Debian.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/orbelle)

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
