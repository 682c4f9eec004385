# What `cmake --install` puts where (GNU layout; /usr in the Debian package):
#   bin/zelo32, bin/zelo-termsim           the programs
#   lib/<arch>/libzelodll.so.19, libpendra.so.19 and their development links
#   include/zelo/zelodll.h, pendra.h       the C interfaces
#   lib/<arch>/pkgconfig/zelodll.pc        pkg-config --cflags --libs zelodll
#   share/man/man1/zelo32.1.gz, zelo-termsim.1.gz
#   share/bash-completion/completions/zelo32
#   share/doc/zelo32/                      the sample Zelocom.ini, the guides
#   lib/systemd/system/zelo32-poll@.service  one line's polling as a service
#   the desktop program, its entry and icon, once that program is built
include(GNUInstallDirs)

set(ZELO_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/zelo32)

install(TARGETS zelodll pendra
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(FILES ${PROJECT_SOURCE_DIR}/zelodll/include/zelodll.h
              ${PROJECT_SOURCE_DIR}/pendra/include/pendra.h
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/zelo)

# The .pc file names the prefix the files are installed under, which
# `cmake --install --prefix` may change after configuring: it is written at
# install time, from the prefix the install runs with.
install(CODE "
  set(CMAKE_INSTALL_LIBDIR \"${CMAKE_INSTALL_LIBDIR}\")
  set(CMAKE_INSTALL_INCLUDEDIR \"${CMAKE_INSTALL_INCLUDEDIR}\")
  set(PROJECT_VERSION \"${PROJECT_VERSION}\")
  configure_file(\"${PROJECT_SOURCE_DIR}/packaging/zelodll.pc.in\"
                 \"${PROJECT_BINARY_DIR}/packaging/zelodll.pc\" @ONLY)
")
install(FILES ${PROJECT_BINARY_DIR}/packaging/zelodll.pc
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

if(TARGET zelo32)
  install(TARGETS zelo32 RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
if(TARGET zelo-termsim)
  install(TARGETS zelo-termsim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

# Man pages, compressed as Debian wants them; reproducible (gzip -n).
find_program(GZIP_PROGRAM gzip REQUIRED)
set(ZELO_MAN_PAGES "")
foreach(page zelo32.1 zelo-termsim.1)
  set(source ${PROJECT_SOURCE_DIR}/docs/man/${page})
  set(packed ${PROJECT_BINARY_DIR}/man/${page}.gz)
  add_custom_command(OUTPUT ${packed}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
    COMMAND ${GZIP_PROGRAM} -9 -n -c ${source} > ${packed}
    DEPENDS ${source} VERBATIM)
  list(APPEND ZELO_MAN_PAGES ${packed})
endforeach()
add_custom_target(man_pages ALL DEPENDS ${ZELO_MAN_PAGES})
install(FILES ${ZELO_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

install(FILES ${PROJECT_SOURCE_DIR}/packaging/bash-completion/zelo32
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
# Debian wants a compressed change log beside the copyright file.
set(ZELO_CHANGELOG ${PROJECT_BINARY_DIR}/packaging/changelog.gz)
add_custom_command(OUTPUT ${ZELO_CHANGELOG}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/packaging
  COMMAND ${GZIP_PROGRAM} -9 -n -c ${PROJECT_SOURCE_DIR}/packaging/changelog > ${ZELO_CHANGELOG}
  DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog VERBATIM)
add_custom_target(package_changelog ALL DEPENDS ${ZELO_CHANGELOG})
install(FILES ${ZELO_CHANGELOG} DESTINATION ${ZELO_DOC_DIR})

install(FILES ${PROJECT_SOURCE_DIR}/docs/Zelocom.ini.sample
              ${PROJECT_SOURCE_DIR}/docs/simulator.md
              ${PROJECT_SOURCE_DIR}/docs/network-lines.md
              ${PROJECT_SOURCE_DIR}/packaging/copyright
        DESTINATION ${ZELO_DOC_DIR})

# The all-day polling of one line as a systemd service (docs/network-lines.md).
if(TARGET zelo32 AND NOT WIN32)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/zelo32-poll@.service
          DESTINATION lib/systemd/system)
endif()

# The desktop interface, where zelo32 is built with it: a menu entry that
# starts zelo32 (which opens its window on a display) and the icon.
if(TARGET zelo32 AND ZELO_BUILD_DESKTOP)
  file(READ ${PROJECT_SOURCE_DIR}/packaging/zelo32.desktop.in desktop_entry)
  string(REPLACE "@DESKTOP_PROGRAM@" "zelo32" desktop_entry "${desktop_entry}")
  file(GENERATE OUTPUT ${PROJECT_BINARY_DIR}/packaging/zelo32.desktop CONTENT "${desktop_entry}")
  install(FILES ${PROJECT_BINARY_DIR}/packaging/zelo32.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/zelo32.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()
