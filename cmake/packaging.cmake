# What `cmake --install` puts in place besides the resources (resources/ installs
# the desktop file, the MIME types, the icons and the udev rule), and the
# Debian package `cpack -G DEB` makes from the same rules. Test programs and
# the benchmark are not installed.
set(tovan_programs tovan-cli tovan-pedal-sim)
if(TARGET tovan)
  list(PREPEND tovan_programs tovan)
endif()
install(TARGETS ${tovan_programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(TOVAN_MAINTAINER "Tovan editor maintainers <tovan-editor@example.org>"
    CACHE STRING "The Debian package's maintainer")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tovan)
set(CPACK_PACKAGE_VENDOR "Tovan editor")
set(CPACK_PACKAGE_CONTACT "${TOVAN_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Editor for the Tovan USB wah pedal")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Edits everything a Tovan pedal holds: its presets, setlists, MIDI and global settings. "
    "Follows changes made on the pedal live, and backs up and restores the whole pedal. "
    "Includes tovan-cli for scripts and backups and tovan-pedal-sim, a simulated pedal.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TOVAN_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
# Their triggers register the MIME types and refresh the icon cache.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, hicolor-icon-theme")
# The libraries the programs link, found by dpkg-shlibdeps where it exists.
find_program(TOVAN_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(TOVAN_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libgtk-3-0, libhidapi-hidraw0, libudev1, libfreetype6, libcairo2")
endif()
if(TOVAN_SANITIZE OR TOVAN_TSAN)
  message(STATUS "A sanitizer build: its Debian package would depend on the sanitizer runtimes")
endif()
include(CPack)
