# What `cmake --install` puts on a Linux desktop, and the Debian package CPack
# builds from it (bash scripts/package.sh). Included by src/CMakeLists.txt.
include(GNUInstallDirs)

set(ZAVO_APP_ID jp.zavo.launcher) # AppStream component id
set(ZAVO_RESOURCES ${CMAKE_SOURCE_DIR}/resources)

install(TARGETS ZAVO_launcher RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The entry keeps the name the program gives Qt (setDesktopFileName), which a
# Wayland shell matches against the window's app id.
install(FILES ${ZAVO_RESOURCES}/zavo_launcher.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size 16 32 48)
  set(png ${ZAVO_RESOURCES}/zavo_launcher_${size}.png)
  if(size EQUAL 32)
    set(png ${ZAVO_RESOURCES}/zavo_launcher.png) # also the window icon
  endif()
  install(FILES ${png} RENAME zavo_launcher.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${ZAVO_RESOURCES}/zavo_launcher.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${ZAVO_RESOURCES}/${ZAVO_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zavo-launcher)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR ZAVO)
set(CPACK_PACKAGE_CONTACT "ZAVO_launcher maintainers <maintainers@zavo.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Always-on-top launcher with nine buttons and a clock")
set(CPACK_PACKAGE_DESCRIPTION
    "A small window that stays above all others. Its buttons start the desktop's audio \
player, web browser and file manager and three programs registered by the user; a clock \
line shows the date and time, and one button asks the system to shut down. Japanese \
user interface.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://zavo.example.org/)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The libraries the binary links, found by dpkg-shlibdeps; besides them GIO,
# which the launcher loads itself at the first launch of a counterpart, and
# the fonts that stand in for the Windows ones the windows name.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libglib2.0-0 (>= 2.56), fonts-ipafont-gothic, fonts-ipafont-mincho")
# Only for a Wayland session without XWayland, where the launcher runs natively.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS qt6-wayland)
include(CPack)
