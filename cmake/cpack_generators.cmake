# Read by cpack for each generator it runs: the Debian package is made of the program's own files
# and the "debian" component (the copyright file, the Debian changelog and the lintian override),
# in one package, without the plain licence file that the copyright file replaces.
if(CPACK_GENERATOR STREQUAL "DEB")
  set(CPACK_DEB_COMPONENT_INSTALL ON)
  set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
  set(CPACK_COMPONENTS_ALL Unspecified debian)
endif()
