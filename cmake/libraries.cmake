# The libraries tavra reads the world with: nlohmann-json (GeoJSON, always), pugixml (GPX
# and KML, where it can be built) and GDAL (other GIS formats, survey generation and the
# sea checks; optional, so that a build without it still plans plain routes).
set(TAVRA_GDAL AUTO CACHE STRING "Build with GDAL: ON (required), OFF or AUTO (where found)")
set(TAVRA_XML AUTO CACHE STRING "Build with pugixml: ON (required), OFF or AUTO (where found)")
# A cross build cannot use the host's /usr/include, so it uses a folder holding only the
# nlohmann/ headers (header-only, the same for every target): this one, or else a copy of
# the host's made in the build tree.
set(TAVRA_JSON_INCLUDE_DIR "" CACHE PATH "Folder holding nlohmann/json.hpp, instead of finding the package")

# tavra_optional_package(<switch> <package> <result variable>): finds the package as the
# switch asks and sets the result to ON or OFF.
macro(tavra_optional_package switch package result)
  if(${switch} STREQUAL "AUTO")
    find_package(${package} QUIET)
  elseif(${switch})
    find_package(${package} REQUIRED)
  endif()
  if(${package}_FOUND)
    set(${result} ON)
  else()
    set(${result} OFF)
  endif()
endmacro()

tavra_optional_package(TAVRA_GDAL GDAL TAVRA_HAVE_GDAL)
# Survey generation asks GEOS itself what is wrong with an area and where, and its tests and
# benchmarks measure on the ellipsoid with PROJ's geodesics; both come with GDAL's
# development package.
if(TAVRA_HAVE_GDAL)
  find_package(GEOS 3.8 CONFIG REQUIRED)
  find_package(PROJ CONFIG REQUIRED)
endif()
tavra_optional_package(TAVRA_XML pugixml TAVRA_HAVE_XML)
if(NOT TAVRA_JSON_INCLUDE_DIR AND CMAKE_CROSSCOMPILING)
  # The target has no package of its own, so a copy of the host's headers, alone in a folder
  # of the build tree, stands in for it.
  find_path(TAVRA_HOST_JSON_DIR nlohmann/json.hpp HINTS /usr/include /usr/local/include
    NO_CMAKE_FIND_ROOT_PATH)
  if(NOT TAVRA_HOST_JSON_DIR)
    message(FATAL_ERROR "nlohmann/json.hpp not found on this machine (Debian package "
      "nlohmann-json3-dev); or name a folder holding it with -DTAVRA_JSON_INCLUDE_DIR")
  endif()
  file(COPY ${TAVRA_HOST_JSON_DIR}/nlohmann DESTINATION ${CMAKE_BINARY_DIR}/json-include)
  set(TAVRA_JSON_INCLUDE_DIR ${CMAKE_BINARY_DIR}/json-include)
elseif(NOT TAVRA_JSON_INCLUDE_DIR)
  find_package(nlohmann_json 3.9 REQUIRED)
endif()
message(STATUS "tavra: GDAL ${TAVRA_HAVE_GDAL}, pugixml ${TAVRA_HAVE_XML}")

# tavra_pick_variant(<source list> <name> <switch> [<ending>]): keeps *_<name><ending> when
# the switch is on and *_no<name><ending> when it is off; the ending is .cpp unless given.
function(tavra_pick_variant list name switch)
  set(ending "\\.cpp")
  if(ARGC GREATER 3)
    set(ending "${ARGV3}")
  endif()
  set(sources ${${list}})
  if(${switch})
    list(FILTER sources EXCLUDE REGEX "_no${name}${ending}$")
  else()
    list(FILTER sources EXCLUDE REGEX "_${name}${ending}$")
  endif()
  set(${list} ${sources} PARENT_SCOPE)
endfunction()

# tavra_link_libraries(<target>): the libraries found above, and TAVRA_HAVE_* definitions
# for the few places that must know.
function(tavra_link_libraries target)
  if(TAVRA_JSON_INCLUDE_DIR)
    target_include_directories(${target} SYSTEM PUBLIC ${TAVRA_JSON_INCLUDE_DIR})
  else()
    target_link_libraries(${target} PUBLIC nlohmann_json::nlohmann_json)
  endif()
  if(TAVRA_HAVE_XML)
    target_link_libraries(${target} PUBLIC pugixml::pugixml)
    target_compile_definitions(${target} PUBLIC TAVRA_HAVE_XML=1)
  endif()
  if(TAVRA_HAVE_GDAL)
    target_link_libraries(${target} PUBLIC GDAL::GDAL GEOS::geos_c PROJ::proj)
    target_compile_definitions(${target} PUBLIC TAVRA_HAVE_GDAL=1)
  endif()
endfunction()
