# Desktop integration and the installable package.
#
# On Linux and the other freedesktop systems the program comes with its menu
# entry, its icon in the hicolor theme, its AppStream metadata, its manual page
# and, in the layout Debian expects, its copyright file and changelog; `cpack`
# in the build folder then makes a Debian package of everything installed.
# Elsewhere only the binary and the licence are installed and CPack makes a
# plain archive.

set(RECIBO_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(RECIBO_PACKAGE_CONTACT "Equipo de Recibo <recibo@recibo.invalid>" CACHE STRING
    "Maintainer of the package: name <address>")
# Reverse domain name of the project, the component id software centres know it by.
set(RECIBO_APPSTREAM_ID invalid.recibo.recibo)

# The changelog's latest entry names the version and the date of the release;
# the manual pages and the AppStream metadata take both from there.
set(recibo_changelog ${RECIBO_PACKAGING_DIR}/changelog)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${recibo_changelog})
file(STRINGS ${recibo_changelog} recibo_changelog_lines ENCODING UTF-8)
list(GET recibo_changelog_lines 0 recibo_latest)
if(NOT recibo_latest MATCHES "^recibo \\(([^)]+)\\) ")
  message(FATAL_ERROR "${recibo_changelog}: the first line is not a changelog entry: ${recibo_latest}")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
  message(FATAL_ERROR "${recibo_changelog} starts at version ${CMAKE_MATCH_1}, the project is "
                      "${PROJECT_VERSION}: add an entry for the new version")
endif()
list(FILTER recibo_changelog_lines INCLUDE REGEX "^ -- ")
list(GET recibo_changelog_lines 0 recibo_signature)
if(NOT recibo_signature MATCHES ", ([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
  message(FATAL_ERROR "${recibo_changelog}: no date in the first entry's signature: ${recibo_signature}")
endif()
set(recibo_month_names Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
set(recibo_month_numbers 01 02 03 04 05 06 07 08 09 10 11 12)
list(FIND recibo_month_names ${CMAKE_MATCH_2} recibo_month)
list(GET recibo_month_numbers ${recibo_month} recibo_month)
set(RECIBO_RELEASE_DATE ${CMAKE_MATCH_3}-${recibo_month}-${CMAKE_MATCH_1})

if(UNIX AND NOT APPLE)
  install(FILES ${RECIBO_PACKAGING_DIR}/recibo.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${RECIBO_PACKAGING_DIR}/icons/recibo.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  # The PNGs are rendered from the SVG once and kept in the repository, so
  # that building needs no image converter.
  foreach(size 16 32 48 64 128 256)
    install(FILES ${RECIBO_PACKAGING_DIR}/icons/hicolor/${size}x${size}/recibo.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()

  set(recibo_generated ${PROJECT_BINARY_DIR}/packaging)
  configure_file(${RECIBO_PACKAGING_DIR}/recibo.metainfo.xml.in
                 ${recibo_generated}/${RECIBO_APPSTREAM_ID}.metainfo.xml @ONLY)
  install(FILES ${recibo_generated}/${RECIBO_APPSTREAM_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

  # Manual pages and changelogs are installed compressed, at the highest
  # level and without the name and time stamp of the file, so that the same
  # sources give the same package. They are compressed here, at configure
  # time, so that cpack finds them without a build step of their own.
  find_program(RECIBO_GZIP gzip REQUIRED)
  function(recibo_gzip source compressed)
    get_filename_component(folder ${compressed} DIRECTORY)
    file(MAKE_DIRECTORY ${folder})
    execute_process(COMMAND ${RECIBO_GZIP} -9 -n -c ${source} OUTPUT_FILE ${compressed}
                    COMMAND_ERROR_IS_FATAL ANY)
  endfunction()

  # The program speaks only Spanish, and so does its full manual page; the
  # page for every other language is a short English one that points to it.
  foreach(page recibo.1 es/recibo.1)
    configure_file(${RECIBO_PACKAGING_DIR}/man/${page}.in ${recibo_generated}/man/${page} @ONLY)
    recibo_gzip(${recibo_generated}/man/${page} ${recibo_generated}/man/${page}.gz)
  endforeach()
  install(FILES ${recibo_generated}/man/recibo.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${recibo_generated}/man/es/recibo.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/es/man1)

  # A package of its own (native) keeps its changelog as changelog.gz.
  recibo_gzip(${recibo_changelog} ${recibo_generated}/changelog.gz)
  install(FILES ${recibo_generated}/changelog.gz ${RECIBO_PACKAGING_DIR}/copyright
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/recibo)
else()
  install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION .)
endif()

if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
  # Resolve every symbol at start-up so that the relocations can all be made
  # read-only, as Debian's hardened builds do.
  target_link_options(recibo PRIVATE LINKER:-z,now)
  # A stripped package binary loses the compilers' version notes too.
  if(CMAKE_OBJCOPY)
    install(CODE "if(CMAKE_INSTALL_DO_STRIP)
      execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
                      \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/recibo\"
                      COMMAND_ERROR_IS_FATAL ANY)
    endif()")
  endif()
endif()

set(CPACK_PACKAGE_NAME recibo)
set(CPACK_PACKAGE_VENDOR "Equipo de Recibo")
set(CPACK_PACKAGE_CONTACT "${RECIBO_PACKAGE_CONTACT}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "calculadora del recibo de haberes docente de Entre Ríos")
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
     "Calcula el recibo de haberes de un docente de las escuelas públicas de"
     "Entre Ríos: cargo u horas cátedra, antigüedad, zona, adicionales,"
     "asignaciones familiares y descuentos, con el total de haberes, el total"
     "de descuentos y el líquido a pagar. El recibo se ve en pantalla y se"
     "puede imprimir.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY recibo)
set(CPACK_STRIP_FILES ON)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)

if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_NAME recibo)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
  set(CPACK_DEBIAN_PACKAGE_SECTION misc)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)

  # What the binary does not link but needs at run time: the platform plugins
  # (xcb, wayland, offscreen), Qt's own Spanish texts, the fonts with the
  # metrics of Arial that the layout is measured in, and the print client.
  set(recibo_runtime_depends "qt6-qpa-plugins, qt6-translations-l10n, fonts-liberation2")
  # The CUPS client library is loaded when the first slip is printed.
  if(RECIBO_LOADS_LIBCUPS)
    string(APPEND recibo_runtime_depends ", libcups2 (>= 2.4)")
  endif()

  find_program(RECIBO_DPKG_SHLIBDEPS dpkg-shlibdeps)
  if(RECIBO_DPKG_SHLIBDEPS)
    # The libraries, with their versions, as dpkg-shlibdeps reads them off the binary.
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "${recibo_runtime_depends}")
  else()
    set(CPACK_DEBIAN_PACKAGE_DEPENDS
        "libqt6widgets6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6core6 (>= 6.4), "
        "libstdc++6, libgcc-s1, libc6, ${recibo_runtime_depends}")
    string(JOIN "" CPACK_DEBIAN_PACKAGE_DEPENDS ${CPACK_DEBIAN_PACKAGE_DEPENDS})
  endif()
else()
  set(CPACK_GENERATOR ZIP)
endif()

include(CPack)
