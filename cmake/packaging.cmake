# Install rules and release packages, all versioned from project() and dated from the release's
# section of CHANGELOG.md:
#   Windows: lines2svg-<version>-win64.zip, with lines2svg.exe, README.txt, LICENSE.txt and
#            NAVOD.txt (the Czech guide), all text for Notepad, docs/district.png and examples/ at
#            its root; and lines2svg.wxs, the installer's source, which scripts/package.sh turns
#            into lines2svg-<version>-win64.msi holding the same files.
#   Linux:   `cmake --install` and the .tar.gz put bin/lines2svg, the manual page under
#            share/man/man1/, and under share/doc/lines2svg/ the README with its picture, the
#            Czech guide navod.txt, the example and the licence. lines2svg_<version>_amd64.deb
#            holds the same but for the licence, and Debian's own files: the licence as a Debian
#            copyright file, the changelog in Debian's format and a lintian override, which are
#            the "debian" component, installed only into the Debian package.
# Run cpack in the build folder; scripts/package.sh builds and packages both.

set(LINES2SVG_MAINTAINER "lines2svg developers <lines2svg@invalid>"
  CACHE STRING "The Maintainer line of the Debian package")

file(READ ${PROJECT_SOURCE_DIR}/LICENSE LINES2SVG_LICENSE)

# This release's section of CHANGELOG.md ("## [1.0.0] - 2026-12-09"): its items and its date.
file(READ ${PROJECT_SOURCE_DIR}/CHANGELOG.md changelog)
string(FIND "${changelog}" "\n## [${PROJECT_VERSION}] - " start)
if(start EQUAL -1)
  message(FATAL_ERROR "CHANGELOG.md has no section for ${PROJECT_VERSION}")
endif()
math(EXPR start "${start} + 1")
string(SUBSTRING "${changelog}" ${start} -1 rest)
string(REGEX MATCH "([0-9]+)-([0-9]+)-([0-9]+)" LINES2SVG_RELEASE_DATE "${rest}")
set(release_year ${CMAKE_MATCH_1})
set(release_month ${CMAKE_MATCH_2})
set(release_day ${CMAKE_MATCH_3})
configure_file(docs/lines2svg.1.in ${CMAKE_BINARY_DIR}/lines2svg.1 @ONLY)

if(WIN32)
  # Notepad before Windows 10 shows LF-only text as one line: the licence and the README go to
  # Windows as .txt files with CR LF.
  foreach(source LICENSE README.md)
    file(READ ${PROJECT_SOURCE_DIR}/${source} content)
    string(REPLACE "\n" "\r\n" content "${content}")
    get_filename_component(stem ${source} NAME_WE)
    file(WRITE ${CMAKE_BINARY_DIR}/${stem}.txt "${content}")
  endforeach()
  # The users' guide in Czech, as Notepad shows it right: UTF-8 with a byte-order mark, CR LF.
  file(READ ${PROJECT_SOURCE_DIR}/docs/navod.txt content)
  string(REPLACE "\n" "\r\n" content "${content}")
  string(ASCII 239 187 191 byte_order_mark)
  file(WRITE ${CMAKE_BINARY_DIR}/NAVOD.txt "${byte_order_mark}${content}")
  install(TARGETS lines2svg RUNTIME DESTINATION .)
  install(FILES ${CMAKE_BINARY_DIR}/README.txt ${CMAKE_BINARY_DIR}/LICENSE.txt
    ${CMAKE_BINARY_DIR}/NAVOD.txt DESTINATION .)
  install(FILES docs/district.png DESTINATION docs)
  install(FILES examples/district.txt DESTINATION examples)
  # The installer: its product code follows the version, so that each version is a product of its
  # own that replaces the one before.
  string(UUID LINES2SVG_PRODUCT_CODE NAMESPACE 5A0F2C4E-8D61-4B7A-9E3C-2F6B1D8A4C70
    NAME "lines2svg ${PROJECT_VERSION}" TYPE SHA1 UPPER)
  configure_file(cmake/lines2svg.wxs.in ${CMAKE_BINARY_DIR}/lines2svg.wxs @ONLY)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME "${PROJECT_NAME}-${PROJECT_VERSION}-win64")
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
else()
  include(GNUInstallDirs)
  install(TARGETS lines2svg RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES README.md docs/navod.txt DESTINATION ${CMAKE_INSTALL_DOCDIR})
  # The licence as it stands, for every install but the Debian package, whose copyright file
  # holds it.
  install(FILES LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT licence)
  install(FILES docs/district.png DESTINATION ${CMAKE_INSTALL_DOCDIR}/docs)
  install(FILES examples/district.txt DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)
  # Debian ships no .comment section: the compilers' names and versions are of no use at run time.
  install(CODE "execute_process(COMMAND ${CMAKE_OBJCOPY} --remove-section=.comment
    \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/lines2svg\")")

  # The licence in Debian's machine-readable copyright format: the MIT text below the title and
  # the copyright line, indented by one space, blank lines written as " .".
  string(REGEX REPLACE "^MIT License\n\nCopyright \\(c\\) [^\n]*\n\n" "" license_body
    "${LINES2SVG_LICENSE}")
  string(REGEX REPLACE "\n+$" "" license_body "${license_body}")
  string(REPLACE "\n\n" "\n.\n" license_body "${license_body}")
  string(REPLACE "\n" "\n " license_body "${license_body}")
  file(WRITE ${CMAKE_BINARY_DIR}/copyright
    "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
    "Upstream-Name: lines2svg\n\n"
    "Files: *\n"
    "Copyright: 2026 the lines2svg developers\n"
    "License: Expat\n ${license_body}\n")
  # The changelog of a native Debian package must be in Debian's format: this release's entries
  # of CHANGELOG.md, as items under a heading line and above a signature with the release date.
  string(FIND "${rest}" "\n## [" end)
  string(FIND "${rest}" "\n" heading_end)
  if(end GREATER -1)
    math(EXPR end "${end} - ${heading_end}")
  endif()
  string(SUBSTRING "${rest}" ${heading_end} ${end} items)
  math(EXPR year "${release_year}")
  math(EXPR month "${release_month}")
  math(EXPR day "${release_day}")
  # The day of the week (Sakamoto's method), which the signature line states.
  set(offsets 0 3 2 5 0 3 5 1 4 6 2 4)
  set(weekdays Sun Mon Tue Wed Thu Fri Sat)
  set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
  math(EXPR index "${month} - 1")
  list(GET offsets ${index} offset)
  list(GET months ${index} month_name)
  if(month LESS 3)
    math(EXPR year "${year} - 1")
  endif()
  math(EXPR weekday "(${year} + ${year} / 4 - ${year} / 100 + ${year} / 400 + ${offset} + ${day}) % 7")
  list(GET weekdays ${weekday} weekday)
  # Items: "- " becomes "  * ", and the lines that continue an item are indented to match.
  string(REGEX REPLACE "\n### [^\n]*" "" items "${items}")
  string(REGEX REPLACE "\n\n+" "\n" items "${items}")
  string(REPLACE "\n  " "\n    " items "${items}")
  string(REPLACE "\n- " "\n  * " items "${items}")
  string(STRIP "${items}" items)
  file(WRITE ${CMAKE_BINARY_DIR}/changelog
    "lines2svg (${PROJECT_VERSION}) unstable; urgency=medium\n\n  ${items}\n\n"
    " -- ${LINES2SVG_MAINTAINER}  ${weekday}, ${release_day} ${month_name} ${release_year} "
    "00:00:00 +0000\n")
  # The manual page and the changelog, compressed as Debian wants them, reproducibly.
  find_program(GZIP gzip REQUIRED)
  add_custom_command(OUTPUT lines2svg.1.gz changelog.gz
    COMMAND ${GZIP} -9n -c ${CMAKE_BINARY_DIR}/lines2svg.1 > lines2svg.1.gz
    COMMAND ${GZIP} -9n -c ${CMAKE_BINARY_DIR}/changelog > changelog.gz
    DEPENDS ${CMAKE_BINARY_DIR}/lines2svg.1 ${CMAKE_BINARY_DIR}/changelog)
  add_custom_target(compressed_docs ALL DEPENDS lines2svg.1.gz changelog.gz)
  install(FILES ${CMAKE_BINARY_DIR}/lines2svg.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${CMAKE_BINARY_DIR}/copyright ${CMAKE_BINARY_DIR}/changelog.gz
    DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT debian EXCLUDE_FROM_ALL)
  install(FILES cmake/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
    RENAME lines2svg COMPONENT debian EXCLUDE_FROM_ALL)
  set(CPACK_GENERATOR DEB TGZ)
  # The Debian package takes the program's files and the "debian" component, in one package; the
  # tarball, like `cmake --install`, everything but that component.
  set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/cpack_generators.cmake)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${LINES2SVG_MAINTAINER}")
  set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
  # The dependencies are those of the binary, found by dpkg-shlibdeps.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()

set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
# Lines of at most 80 characters, as Debian's description lines must be.
set(CPACK_PACKAGE_DESCRIPTION
  "lines2svg asks for the name of a drawing file, a text file whose line objects\n"
  "are sections of vertex records, and writes an SVG 1.1 picture of those lines\n"
  "beside it, with a scale bar and a direction arrow. It talks to the user in\n"
  "Czech and streams files of any size in a few MiB of memory.")
string(CONCAT CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_STRIP_FILES ON)
include(CPack)
