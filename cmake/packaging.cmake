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

# Debian wants a copyright file in the package's doc folder. No licence has been
# published for the editor yet; TOVAN_LICENSE says under which one it is given.
set(TOVAN_COPYRIGHT_HOLDER "Tovan editor maintainers" CACHE STRING "Who holds the copyright")
set(TOVAN_LICENSE "none published: ask the maintainer before redistributing"
    CACHE STRING "The licence the copyright file names")
file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/copyright CONTENT
"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: ${PROJECT_NAME}
Upstream-Contact: ${TOVAN_MAINTAINER}

Files: *
Copyright: ${TOVAN_COPYRIGHT_HOLDER}
License: ${TOVAN_LICENSE}
")
install(FILES ${PROJECT_BINARY_DIR}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

# A native package's changelog, compressed as Debian wants it. Its date is the
# configure time, or SOURCE_DATE_EPOCH for a reproducible package.
string(TIMESTAMP tovan_changelog_date "%a, %d %b %Y %H:%M:%S +0000" UTC)
file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/changelog CONTENT
"${PROJECT_NAME} (${PROJECT_VERSION}) unstable; urgency=medium

  * Version ${PROJECT_VERSION} of the Tovan editor.

 -- ${TOVAN_MAINTAINER}  ${tovan_changelog_date}
")
find_program(TOVAN_GZIP gzip)
if(TOVAN_GZIP)
  execute_process(COMMAND ${TOVAN_GZIP} -9nf ${PROJECT_BINARY_DIR}/changelog -c
                  OUTPUT_FILE ${PROJECT_BINARY_DIR}/changelog.gz COMMAND_ERROR_IS_FATAL ANY)
  install(FILES ${PROJECT_BINARY_DIR}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tovan)
set(CPACK_PACKAGE_VENDOR "Tovan editor")
set(CPACK_PACKAGE_CONTACT "${TOVAN_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Editor for the Tovan USB wah pedal")
# Lines of at most 80 characters, as Debian wants them.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Edits everything a Tovan pedal holds: its presets, setlists, MIDI and global\n"
    "settings. Follows changes made on the pedal live, and backs up and restores\n"
    "the whole pedal. Includes tovan-cli for scripts and backups and\n"
    "tovan-pedal-sim, a simulated pedal.")
set(CPACK_STRIP_FILES ON)
# Folders the install creates (usr, usr/share, ...) get 0755 whatever the umask.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
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
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6, libstdc++6, libgcc-s1, libglib2.0-0, libgtk-3-0, libcairo2, \
libfreetype6, libhidapi-hidraw0, libudev1")
endif()
if(TOVAN_SANITIZE OR TOVAN_TSAN)
  message(STATUS "A sanitizer build: its Debian package would depend on the sanitizer runtimes")
endif()
include(CPack)
