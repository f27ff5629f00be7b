# Desktop integration and the installable package.
#
# On Linux and the other freedesktop systems the program comes with its menu
# entry and its icon in the hicolor theme; `cpack` in the build folder then
# makes a Debian package of everything installed. Elsewhere only the binary is
# installed and CPack makes a plain archive.

set(RECIBO_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)

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
endif()

set(CPACK_PACKAGE_NAME recibo)
set(CPACK_PACKAGE_VENDOR "Equipo de Recibo")
set(CPACK_PACKAGE_CONTACT "Equipo de Recibo <recibo@localhost>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Recibo de haberes docentes de Entre Ríos")
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
     "Calcula el recibo de haberes de un docente de las escuelas públicas de"
     "Entre Ríos: cargo u horas cátedra, antigüedad, zona, adicionales,"
     "asignaciones familiares y descuentos, con el total de haberes, el total"
     "de descuentos y el líquido a pagar. El recibo se ve en pantalla y se"
     "puede imprimir.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY recibo)
set(CPACK_STRIP_FILES ON)

if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_NAME recibo)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
  set(CPACK_DEBIAN_PACKAGE_SECTION misc)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)

  # What the binary does not link but needs at run time: the platform plugins
  # (xcb, wayland, offscreen), Qt's own Spanish texts, and the fonts with the
  # metrics of Arial that the layout is measured in.
  set(recibo_runtime_depends "qt6-qpa-plugins, qt6-translations-l10n, fonts-liberation2")

  find_program(RECIBO_DPKG_SHLIBDEPS dpkg-shlibdeps)
  if(RECIBO_DPKG_SHLIBDEPS)
    # The libraries, with their versions, as dpkg-shlibdeps reads them off the binary.
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "${recibo_runtime_depends}")
  else()
    set(CPACK_DEBIAN_PACKAGE_DEPENDS
        "libqt6widgets6 (>= 6.4), libqt6printsupport6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6core6 (>= 6.4), "
        "libstdc++6, libgcc-s1, libc6, ${recibo_runtime_depends}")
    string(JOIN "" CPACK_DEBIAN_PACKAGE_DEPENDS ${CPACK_DEBIAN_PACKAGE_DEPENDS})
  endif()
else()
  set(CPACK_GENERATOR ZIP)
endif()

include(CPack)
