# The Debian packages (`cpack -G DEB` in the build folder; scripts/package.sh does it all), one
# per install component: quarmel-batch, headless, for cluster nodes, and quarmel, the window,
# depending on it. Their run-time dependencies are found by dpkg-shlibdeps from the installed
# programs; the Qt platform plugins are named by hand because the window loads them at run time
# instead of linking them.
set(changelog ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)
add_custom_command(
  OUTPUT ${changelog}
  COMMAND ${GZIP_PROGRAM} -9 -n -c ${CMAKE_CURRENT_SOURCE_DIR}/debian/changelog > ${changelog}
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/debian/changelog
  VERBATIM)
add_custom_target(quarmel_package_docs ALL DEPENDS ${changelog})
# Debian's place for them, named after each package.
install(FILES ${changelog} debian/copyright
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/quarmel-batch COMPONENT batch)
if(QUARMEL_UI)
  install(FILES ${changelog} debian/copyright
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/quarmel COMPONENT window)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quarmel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Quarmel developers")
set(CPACK_PACKAGE_CONTACT "The Quarmel developers <quarmel@example.org>")
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL batch)
set(CPACK_DEBIAN_BATCH_PACKAGE_NAME quarmel-batch)
# Each description's first line is its package's synopsis.
set(CPACK_DEBIAN_BATCH_DESCRIPTION
    "run optimisation algorithms on data files from the command line
quarmel-batch runs greedy local search, steepest local search, simulated
annealing and a genetic algorithm on the functions of Quarmel's data files,
reproducibly from a seed, on many threads, and writes tidy tables (CSV, JSON
lines) and IOHprofiler data for analysis tools. It needs no display: the
package is meant for cluster nodes and scripts. It holds example problems
with known optima and scripts that run sweeps through GNU parallel or Slurm.")
set(CPACK_DEBIAN_BATCH_PACKAGE_SECTION science)
if(QUARMEL_UI)
  list(APPEND CPACK_COMPONENTS_ALL window)
  set(CPACK_DEBIAN_WINDOW_PACKAGE_NAME quarmel)
  set(CPACK_DEBIAN_WINDOW_DESCRIPTION
      "watch optimisation algorithms search a function
Quarmel is a desktop program for watching optimisation algorithms at work on a
function you type in: greedy local search, steepest local search, simulated
annealing and a genetic algorithm. Each run is slowed down by a delay you set
and its path is drawn on a coloured 3D surface of the function that you can
turn, shift and zoom.")
  set(CPACK_COMPONENT_WINDOW_DEPENDS batch)
  set(CPACK_DEBIAN_WINDOW_PACKAGE_DEPENDS "qt6-qpa-plugins")
  set(CPACK_DEBIAN_WINDOW_PACKAGE_SECTION science)
endif()
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://github.com/quarmel/quarmel")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
