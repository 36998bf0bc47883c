# Install rules and release packages, all versioned from project():
#   Windows: lines2svg-<version>-win64.zip, with lines2svg.exe, README.md and examples/ at its root.
#   Linux:   lines2svg_<version>_amd64.deb and a .tar.gz, with bin/lines2svg and the README and the
#            example under share/doc/lines2svg/.
# Run cpack in the build folder; scripts/package.sh builds and packages both.

set(LINES2SVG_MAINTAINER "lines2svg developers <lines2svg@invalid>"
  CACHE STRING "The Maintainer line of the Debian package")

if(WIN32)
  install(TARGETS lines2svg RUNTIME DESTINATION .)
  install(FILES README.md DESTINATION .)
  install(FILES examples/district.txt DESTINATION examples)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME "${PROJECT_NAME}-${PROJECT_VERSION}-win64")
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
else()
  include(GNUInstallDirs)
  install(TARGETS lines2svg RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
  install(FILES examples/district.txt DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)
  set(CPACK_GENERATOR DEB TGZ)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${LINES2SVG_MAINTAINER}")
  set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
  # The dependencies are those of the binary, found by dpkg-shlibdeps.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()

set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION
  "lines2svg asks for the name of a drawing file, a text file whose line objects are sections "
  "of vertex records, and writes an SVG 1.1 picture of those lines beside it, with a scale bar "
  "and a direction arrow. It talks to the user in Czech and streams files of any size in a few "
  "MiB of memory.")
string(CONCAT CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_STRIP_FILES ON)
include(CPack)
