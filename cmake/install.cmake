# Installation layout and the Debian package: program, manual page, completion, docs, examples.
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
# The README and the manual with the pictures they link to, where the links expect them, and
# every example their commands use.
install(FILES README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
file(GLOB TAVRA_DOC_PICTURES ${CMAKE_SOURCE_DIR}/docs/*.png)
install(FILES docs/manual.md ${TAVRA_DOC_PICTURES} DESTINATION ${CMAKE_INSTALL_DOCDIR}/docs)
install(DIRECTORY examples/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)

set(TAVRA_PACKAGE_MAINTAINER
  "tavra maintainers <maintainers@users.noreply.c-seed-30616268.example>"
  CACHE STRING "Maintainer field of the Debian package")

set(CPACK_PACKAGE_NAME tavra)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "survey mission planner for autonomous underwater vehicles")
# Kept in lines of less than 80 characters, as the package's control file wants them.
set(CPACK_PACKAGE_DESCRIPTION [[tavra plans survey missions for an autonomous underwater vehicle. It reads
routes as plain text, degrees and minutes, CSV, GPX, KML, GeoJSON and the GIS
formats GDAL reads, or lays out survey lines itself in an area, round its
holes. It measures every leg, cuts long legs so that the vehicle surfaces for
GPS fixes often enough, adds a launch waypoint, checks the plan against the
vehicle's limits and, given bathymetry grids and polygons of land, keep-out
areas or the operating region, against the sea. It writes a mission script for
the vehicle, a waypoint file and a survey-line file for chart software, a CSV
summary, and on request GeoJSON, KML, GPX and an HTML preview. The parameters
are given as options or in an interactive console dialogue.]])
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
