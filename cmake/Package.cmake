# The Debian package of the install tree (cmake/Install.cmake), made by `./project.sh package`
# or `cpack -G DEB` in a build folder. Its dependencies on shared libraries are found by
# dpkg-shlibdeps (dpkg-dev, and file to tell programs from data).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orbelle)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "the orbelle developers")
set(CPACK_PACKAGE_CONTACT ${ORBELLE_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "world map centred on your station, for amateur radio logging programs")
# The summary above is the first line; this is the long description under it.
set(CPACK_PACKAGE_DESCRIPTION "orbelle shows an azimuthal-equidistant world map centred on the operator's
station, with the sun, the gray line, DX spots, a path line and the bearing
and distance to any point. Logging programs drive it over the D-Bus session
bus, which starts it when they ask for it; a click on the map or a spot
turns the rotator or tunes the rig through the logging program.
.
orbelle-station drives the map without a logging program: rotator and rig
through Hamlib's rotctld and rigctld, spots from a DX cluster.
orbelle-render draws the map into a picture without a display.
.
Also included: the Morse keyer and utility extension libraries (morse.so,
velalib.so) with foxhost, the host that loads them.")
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)

set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Beyond the libraries: the session bus that starts the map and carries the hosts' calls.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "default-dbus-session-bus | dbus-session-bus")
# The station's country file; Hamlib's daemons for a rotator and a rig; a browser for help.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "hamradio-files")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libhamlib-utils, xdg-utils")

# Installed with the prefix /usr and DESTDIR pointing into the package, so that the files
# written at install time name /usr paths.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)

include(CPack)
