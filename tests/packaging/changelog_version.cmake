# cmake -DCHANGELOG=CHANGELOG.md -DVERSION=X.Y.Z -P changelog_version.cmake
# The changelog's top entry is the project's version: a release is not made without saying what
# it changed.
file(STRINGS ${CHANGELOG} headings REGEX "^## " ENCODING UTF-8)
if(NOT headings)
  message(FATAL_ERROR "${CHANGELOG} has no \"## VERSION — DATE\" entry")
endif()
list(GET headings 0 top)
if(NOT top MATCHES "^## ([0-9]+\\.[0-9]+\\.[0-9]+) — [0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]$")
  message(FATAL_ERROR "${CHANGELOG}: the top entry \"${top}\" is not \"## VERSION — YYYY-MM-DD\"")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL VERSION)
  message(FATAL_ERROR
          "${CHANGELOG}: the top entry is ${CMAKE_MATCH_1}, the project's version is ${VERSION}")
endif()
message(STATUS "top entry of the changelog: ${VERSION}")
