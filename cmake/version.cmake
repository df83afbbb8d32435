# The one version number is the project's (1.1.0.4): the Debian package, the
# Windows archive's name and read-me, and the .exe's version record take it
# from here. The record also shows it as text, major, minor in two digits and
# the fourth number in four ("1.01.0004"), which has no place for the third.
if(NOT PROJECT_VERSION_PATCH EQUAL 0 OR PROJECT_VERSION_MINOR GREATER 99
   OR PROJECT_VERSION_TWEAK GREATER 9999)
  message(FATAL_ERROR "version ${PROJECT_VERSION}: the version record's text needs major.minor.0.revision")
endif()
math(EXPR _minor "100 + ${PROJECT_VERSION_MINOR}")
math(EXPR _revision "10000 + ${PROJECT_VERSION_TWEAK}")
string(SUBSTRING ${_minor} 1 2 _minor)
string(SUBSTRING ${_revision} 1 4 _revision)
set(ZAVO_VERSION_TEXT "${PROJECT_VERSION_MAJOR}.${_minor}.${_revision}")

# The About window's fixed text names the version by its first and last
# numbers ("ver1.04" for 1.1.0.4); the read-me explains it so. A new version
# with the old About text would make both wrong.
file(STRINGS ${CMAKE_SOURCE_DIR}/src/forms/frm_about_sheet.h _about REGEX "ZAVO_launcher ver")
string(REGEX MATCH "ver[0-9.]+" ZAVO_ABOUT_VERSION "${_about}")
math(EXPR _short "100 + ${PROJECT_VERSION_TWEAK}")
string(SUBSTRING ${_short} 1 2 _short)
if(NOT ZAVO_ABOUT_VERSION STREQUAL "ver${PROJECT_VERSION_MAJOR}.${_short}")
  message(FATAL_ERROR "the About window says '${ZAVO_ABOUT_VERSION}', which is not version "
    "${PROJECT_VERSION}: change the one or the other")
endif()
