# The Debian package (`cpack -G DEB` in the build folder; scripts/package.sh does it all). Its
# run-time dependencies are found by dpkg-shlibdeps from the installed programs; the Qt platform
# plugins are named by hand because the window loads them at run time instead of linking them.
set(changelog ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)
add_custom_command(
  OUTPUT ${changelog}
  COMMAND ${GZIP_PROGRAM} -9 -n -c ${CMAKE_CURRENT_SOURCE_DIR}/debian/changelog > ${changelog}
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/debian/changelog
  VERBATIM)
add_custom_target(quarmel_package_docs ALL DEPENDS ${changelog})
# Debian's place for them, named after the package.
install(FILES ${changelog} debian/copyright DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/quarmel)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quarmel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Quarmel developers")
set(CPACK_PACKAGE_CONTACT "The Quarmel developers <quarmel@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "watch optimisation algorithms search a function")
set(CPACK_PACKAGE_DESCRIPTION
    "Quarmel is a desktop program for watching optimisation algorithms at work on a
function you type in: greedy local search, steepest local search, simulated
annealing and a genetic algorithm. Each run is slowed down by a delay you set
and its path is drawn on a coloured 3D surface of the function that you can
turn, shift and zoom.

The package also holds quarmel-batch, which runs the same algorithms on a data
file from the command line, reproducibly from a seed.")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://github.com/quarmel/quarmel")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(QUARMEL_UI)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
endif()
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
