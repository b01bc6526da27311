# Installation layout and the Debian package: program, manual page, completion, example.
include(GNUInstallDirs)

install(TARGETS tavra RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Debian ships manual pages compressed, and without a time stamp in the gzip header so that
# the same sources always make the same package. Without gzip the page goes in as it is;
# man reads both.
find_program(TAVRA_GZIP gzip)
if(TAVRA_GZIP)
  set(TAVRA_MAN_PAGE ${CMAKE_BINARY_DIR}/tavra.1.gz)
  add_custom_command(OUTPUT ${TAVRA_MAN_PAGE}
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/man/tavra.1 ${CMAKE_BINARY_DIR}/tavra.1
    COMMAND ${TAVRA_GZIP} -9 -n -f ${CMAKE_BINARY_DIR}/tavra.1
    DEPENDS ${CMAKE_SOURCE_DIR}/man/tavra.1
    VERBATIM)
  add_custom_target(tavra_man_page ALL DEPENDS ${TAVRA_MAN_PAGE})
else()
  set(TAVRA_MAN_PAGE ${CMAKE_SOURCE_DIR}/man/tavra.1)
endif()
install(FILES ${TAVRA_MAN_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

install(FILES completions/tavra
  DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
install(FILES README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES examples/monterey_lawnmower.txt examples/monterey_lawnmower.gpx
  examples/monterey_lawnmower.kml DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)
install(FILES examples/monterey_survey_area.txt DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)

set(TAVRA_PACKAGE_MAINTAINER
  "tavra maintainers <maintainers@users.noreply.c-seed-30616268.example>"
  CACHE STRING "Maintainer field of the Debian package")

set(CPACK_PACKAGE_NAME tavra)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "survey mission planner for autonomous underwater vehicles")
# Kept in lines of less than 80 characters, as the package's control file wants them.
set(CPACK_PACKAGE_DESCRIPTION [[tavra turns a plain text file of waypoints (latitude and longitude in
decimal degrees) into a survey mission for an autonomous underwater vehicle.
It measures every leg on a spherical Earth, cuts long legs so that the vehicle
surfaces for GPS fixes often enough, adds a launch waypoint, and writes a
mission script for the vehicle, a waypoint file and a survey-line file for
chart software, and a CSV summary of distances and times. The parameters are
given as options or in an interactive console dialogue.]])
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TAVRA_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps (package dpkg-dev) reads the libraries the program links and names the
# package versions that provide them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS bash-completion)
set(CPACK_STRIP_FILES ON)
include(CPack)
