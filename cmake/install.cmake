# What cmake --install puts in place. On Linux: railscen under bin/, the pack under
# lib/railscen/ (it writes the scenario into its own folder, so it is a program to copy into a
# scenario folder, not one to start from the PATH: from /usr/bin it could only fail or litter
# that folder), the editor files
# under share/railscen/editors, the manual page written by help2man from railscen's own help,
# the bash completion written by railscen from its command table, the copyright and the
# changelog under share/doc/railscen. On Windows (the .zip): the programs, the editor files and a
# README and changelog in Windows line ends, side by side in one folder.
include(GNUInstallDirs)
set(RAILSCEN_MAINTAINER "railscen maintainers <maintainers@users.noreply.c-seed-60414043.example>")

# The editor files, with the extension's manifest carrying the project's version.
set(RAILSCEN_EDITORS_DIR ${CMAKE_BINARY_DIR}/editors)
file(READ ${PROJECT_SOURCE_DIR}/editors/package.json manifest)
string(JSON manifest SET "${manifest}" version "\"${PROJECT_VERSION}\"")
file(WRITE ${RAILSCEN_EDITORS_DIR}/package.json.new "${manifest}\n")
file(COPY_FILE ${RAILSCEN_EDITORS_DIR}/package.json.new ${RAILSCEN_EDITORS_DIR}/package.json
     ONLY_IF_DIFFERENT)
file(REMOVE ${RAILSCEN_EDITORS_DIR}/package.json.new)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${PROJECT_SOURCE_DIR}/editors/package.json)
set(RAILSCEN_EDITOR_FILES
    extension.js
    language-configuration.json
    railscen-line.tmLanguage.json
    railscen-train.tmLanguage.json)
list(TRANSFORM RAILSCEN_EDITOR_FILES PREPEND ${PROJECT_SOURCE_DIR}/editors/)

if(WIN32)
  install(TARGETS scenario-pack DESTINATION .)
  if(TARGET railscen)
    install(TARGETS railscen DESTINATION .)
  endif()
  install(FILES ${RAILSCEN_EDITOR_FILES} ${RAILSCEN_EDITORS_DIR}/package.json
          DESTINATION editors)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/editors/nvim DESTINATION editors)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/README-windows.txt
                 ${CMAKE_BINARY_DIR}/README.txt @ONLY NEWLINE_STYLE CRLF)
  configure_file(${PROJECT_SOURCE_DIR}/CHANGELOG.md ${CMAKE_BINARY_DIR}/CHANGELOG.txt
                 @ONLY NEWLINE_STYLE CRLF)
  install(FILES ${CMAKE_BINARY_DIR}/README.txt ${CMAKE_BINARY_DIR}/CHANGELOG.txt DESTINATION .)
  return()
endif()

install(TARGETS scenario-pack DESTINATION lib/railscen)
install(FILES ${RAILSCEN_EDITOR_FILES} ${RAILSCEN_EDITORS_DIR}/package.json
        DESTINATION ${CMAKE_INSTALL_DATADIR}/railscen/editors)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/editors/nvim
        DESTINATION ${CMAKE_INSTALL_DATADIR}/railscen/editors)
set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/railscen)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright DESTINATION ${doc_dir})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME railscen)

# The changelog in Debian's format (which a Debian package carries as changelog.gz), written
# from CHANGELOG.md.
set(changelog ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
add_custom_command(
  OUTPUT ${changelog}
  COMMAND ${CMAKE_COMMAND} -DINPUT=${PROJECT_SOURCE_DIR}/CHANGELOG.md
          -DOUTPUT=${CMAKE_BINARY_DIR}/packaging/changelog -DPACKAGE=railscen
          -DMAINTAINER=${RAILSCEN_MAINTAINER}
          -P ${PROJECT_SOURCE_DIR}/cmake/debian-changelog.cmake
  COMMAND gzip -9nf ${CMAKE_BINARY_DIR}/packaging/changelog
  DEPENDS ${PROJECT_SOURCE_DIR}/CHANGELOG.md ${PROJECT_SOURCE_DIR}/cmake/debian-changelog.cmake
  VERBATIM)
add_custom_target(railscen_changelog ALL DEPENDS ${changelog})
install(FILES ${changelog} DESTINATION ${doc_dir})

if(NOT TARGET railscen)
  return()
endif()
install(TARGETS railscen DESTINATION ${CMAKE_INSTALL_BINDIR})

# The bash completion, from railscen's command table.
set(completion ${CMAKE_BINARY_DIR}/packaging/railscen.bash)
add_custom_command(
  OUTPUT ${completion}
  COMMAND railscen completion bash > ${completion}
  DEPENDS railscen
  VERBATIM)
add_custom_target(railscen_completion ALL DEPENDS ${completion})
install(FILES ${completion} DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
        RENAME railscen)

# The manual page, from railscen --help, --version and each command's --help.
find_program(HELP2MAN_EXECUTABLE help2man)
if(NOT HELP2MAN_EXECUTABLE)
  message(WARNING "help2man is missing (scripts/install-deps installs it): no manual page")
  return()
endif()
set(man_page ${CMAKE_BINARY_DIR}/packaging/railscen.1)
add_custom_command(
  OUTPUT ${man_page}.gz
  COMMAND ${CMAKE_COMMAND} -DRAILSCEN=$<TARGET_FILE:railscen> -DHELP2MAN=${HELP2MAN_EXECUTABLE}
          -DOUTPUT=${man_page} -P ${PROJECT_SOURCE_DIR}/cmake/man-page.cmake
  COMMAND gzip -9nf ${man_page}
  DEPENDS railscen ${PROJECT_SOURCE_DIR}/cmake/man-page.cmake
  VERBATIM)
add_custom_target(railscen_man_page ALL DEPENDS ${man_page}.gz)
install(FILES ${man_page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
