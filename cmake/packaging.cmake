# What `cmake --install` puts on a Linux desktop, and the Debian package CPack
# builds from it (bash scripts/package.sh). Included by src/CMakeLists.txt.
include(GNUInstallDirs)

set(ZAVO_APP_ID jp.zavo.launcher) # AppStream component id
set(ZAVO_RESOURCES ${CMAKE_SOURCE_DIR}/resources)

set(ZAVO_PACKAGING ${CMAKE_SOURCE_DIR}/packaging)
set(ZAVO_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/zavo-launcher) # Debian's name

install(TARGETS ZAVO_launcher RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# What the menu entry runs: the launcher in the user's configuration folder,
# where it keeps settei.ini.
install(PROGRAMS ${ZAVO_PACKAGING}/zavo-launcher-menu DESTINATION ${CMAKE_INSTALL_BINDIR})
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

# Manual page (one for both commands) and changelog, compressed as Debian
# wants them: gzip -9, without name and time stamp, so builds are repeatable.
set(pkgdir ${CMAKE_BINARY_DIR}/packaging)
configure_file(${ZAVO_PACKAGING}/ZAVO_launcher.1.in ${pkgdir}/ZAVO_launcher.1 @ONLY)
# A native package: the changelog's newest entry is the package's version.
file(STRINGS ${ZAVO_PACKAGING}/changelog newest LIMIT_COUNT 1)
if(NOT newest MATCHES "^zavo-launcher \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog starts with '${newest}': add an entry for ${PROJECT_VERSION}")
endif()
# A package built for one Debian release is versioned VERSION+debN, as Debian
# versions a native package rebuilt for a stable release: the package of a
# newer release sorts newer, so upgrading the system upgrades the launcher.
# Its changelog gains the entry of that build, since lintian wants the
# changelog to name the package's version, dated a second after the newest
# entry (lintian wants it newer; a clock's date would make builds differ).
option(ZAVO_DEB_FOR_THIS_RELEASE "Version the package for the Debian release it is built on (+debN)" OFF)
set(ZAVO_DEB_VERSION ${PROJECT_VERSION})
if(ZAVO_DEB_FOR_THIS_RELEASE)
  cmake_host_system_information(RESULT _os QUERY DISTRIB_ID DISTRIB_VERSION_ID DISTRIB_VERSION_CODENAME)
  list(GET _os 0 _os_id)
  list(GET _os 1 _os_version)
  list(GET _os 2 _os_codename)
  if(NOT _os_id STREQUAL "debian" OR NOT _os_version MATCHES "^[0-9]+$")
    message(FATAL_ERROR "ZAVO_DEB_FOR_THIS_RELEASE: '${_os_id} ${_os_version}' is no Debian stable release")
  endif()
  set(ZAVO_DEB_VERSION ${PROJECT_VERSION}+deb${_os_version})
  file(STRINGS ${ZAVO_PACKAGING}/changelog _signature REGEX "^ -- " LIMIT_COUNT 1)
  string(REGEX REPLACE "^(.*>)  (.*)$" "\\1" _maintainer "${_signature}")
  string(REGEX REPLACE "^(.*>)  (.*)$" "\\2" _newest_date "${_signature}")
  execute_process(COMMAND date -u -d "${_newest_date}" +%s OUTPUT_VARIABLE _seconds
    OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  math(EXPR _seconds "${_seconds} + 1")
  execute_process(COMMAND date -u -R -d @${_seconds} OUTPUT_VARIABLE _date
    OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  file(READ ${ZAVO_PACKAGING}/changelog _changelog)
  file(WRITE ${pkgdir}/changelog.release
    "zavo-launcher (${ZAVO_DEB_VERSION}) ${_os_codename}; urgency=medium\n\n"
    "  * Built for Debian ${_os_version} (${_os_codename}).\n\n${_maintainer}  ${_date}\n\n${_changelog}")
  configure_file(${pkgdir}/changelog.release ${pkgdir}/changelog COPYONLY)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${ZAVO_PACKAGING}/changelog)
else()
  configure_file(${ZAVO_PACKAGING}/changelog ${pkgdir}/changelog COPYONLY)
endif()
add_custom_command(
  OUTPUT ${pkgdir}/ZAVO_launcher.1.gz ${pkgdir}/zavo-launcher-menu.1.gz
         ${pkgdir}/changelog.gz
  COMMAND gzip -9nfk ZAVO_launcher.1 changelog
  COMMAND ${CMAKE_COMMAND} -E create_symlink ZAVO_launcher.1.gz zavo-launcher-menu.1.gz
  DEPENDS ${pkgdir}/ZAVO_launcher.1 ${pkgdir}/changelog
  WORKING_DIRECTORY ${pkgdir}
  VERBATIM)
add_custom_target(zavo_package_docs ALL
  DEPENDS ${pkgdir}/ZAVO_launcher.1.gz ${pkgdir}/changelog.gz)
install(FILES ${pkgdir}/ZAVO_launcher.1.gz ${pkgdir}/zavo-launcher-menu.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${ZAVO_PACKAGING}/copyright ${pkgdir}/changelog.gz
        DESTINATION ${ZAVO_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zavo-launcher)
set(CPACK_PACKAGE_VERSION ${ZAVO_DEB_VERSION})
set(CPACK_PACKAGE_VENDOR ZAVO)
set(CPACK_PACKAGE_CONTACT "ZAVO_launcher maintainers <maintainers@zavo.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Always-on-top launcher with nine buttons and a clock")
# Lines of at most 80 characters, as Debian's control files want them.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "A small window that stays above all others. Its buttons start the desktop's"
  "audio player, web browser and file manager and three programs registered by"
  "the user; a clock line shows the date and time, and one button asks the"
  "system to shut down. Japanese user interface.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://zavo.example.org/)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The libraries the binary links, found by dpkg-shlibdeps; besides them GIO,
# which the launcher loads itself at the first launch of a counterpart, and
# the fonts that stand in for the Windows ones the windows name: Noto Serif
# CJK JP for "ＭＳ Ｐ明朝", IPAGothic for "ＭＳ ゴシック". IPAPMincho is the
# program's second choice for the Mincho face.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libglib2.0-0 (>= 2.56), fonts-noto-cjk, fonts-ipafont-gothic, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-ipafont-mincho)
# Only for a Wayland session without XWayland, where the launcher runs natively.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS qt6-wayland)
include(CPack)
