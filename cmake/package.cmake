# CPack: a Debian package on Linux (cpack -G DEB in build/) and a .zip on Windows (cpack -G ZIP
# in build-windows/), both named with the project's version. scripts/check-packages builds,
# installs and runs both.
set(CPACK_PACKAGE_NAME railscen)
set(CPACK_PACKAGE_VENDOR "railscen maintainers")
set(CPACK_PACKAGE_CONTACT "${RAILSCEN_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "compiler of driving scenarios for a train-driving simulator")
set(CPACK_PACKAGE_CHECKSUM SHA256)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME railscen-${PROJECT_VERSION}-windows-x64)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${RAILSCEN_MAINTAINER}")
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  # The programs are linked statically: they depend on no other package.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS OFF)
  # CPack puts the summary before it as the synopsis line.
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
      "railscen compiles line and train description texts into the binary files a
train-driving simulator loads. The package holds the scenario pack
(scenario-pack), which writes one complete scenario into its own folder, and
the authors' tool (railscen), which writes, compiles and checks description
texts, explains the compiler's codes, decodes and draws compiled scenarios,
lists what changed between two versions and serves editors as a language
server. Grammars for the description texts are under
/usr/share/railscen/editors.")
endif()
include(CPack)
