# The Debian package: `cpack -G DEB` in a build folder configured with
# CMAKE_INSTALL_PREFIX=/usr gives zelo32_<version>_<arch>.deb.
set(CPACK_PACKAGE_NAME zelo32)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Zelo32 project")
set(CPACK_PACKAGE_CONTACT "Zelo32 maintainers <maintainers@zelo32.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "manage portable data-collection terminals over a serial line")
set(CPACK_PACKAGE_DESCRIPTION
    "zelo32 downloads and uploads files, polls records, sets the clock and runs\n commands on portable data-collection terminals over a serial line or a\n modem, from the command line or a batch script. zelo-termsim simulates a\n line of terminals for trying it out without hardware. Includes the terminal\n command library libzelodll, its link layer libpendra and their C headers.")
set(CPACK_DEBIAN_PACKAGE_SECTION comm)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Dependencies from the programs' and libraries' own needs (dpkg-shlibdeps),
# and the shlibs file with the ldconfig trigger for the two libraries.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_LIBRARY_OUTPUT_DIRECTORY})
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The loader's cache is refreshed by dpkg's trigger as well as by ldconfig
# in the scripts CPack writes.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/packaging/triggers)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
include(CPack)
