# Tests of the code without Qt (core, forms, Win32 backend) use doctest, which
# also builds with MinGW and runs under Wine. Its one header is copied into
# the build tree, so a cross build never sees the host's /usr/include.
find_file(ZAVO_DOCTEST_HEADER doctest/doctest.h PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH
          NO_DEFAULT_PATH)
if(NOT ZAVO_DOCTEST_HEADER)
  message(FATAL_ERROR "doctest is required: apt-get install doctest-dev")
endif()
file(COPY ${ZAVO_DOCTEST_HEADER} DESTINATION ${CMAKE_BINARY_DIR}/doctest-include/doctest)

# Every doctest program gets the shared test support with it.
add_library(zavo_doctest_main STATIC ${CMAKE_CURRENT_LIST_DIR}/support/doctest_main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/support/doctest_strings.cpp)
target_include_directories(zavo_doctest_main SYSTEM PUBLIC ${CMAKE_BINARY_DIR}/doctest-include)
target_link_libraries(zavo_doctest_main PUBLIC zavo_test_support PRIVATE zavo_warnings)

# A cross build runs its tests through the emulator (scripts/wine-run.sh). The
# fixture makes the build's private Wine prefix before the first test and
# stops its wine server after the last one.
if(CMAKE_CROSSCOMPILING AND CMAKE_CROSSCOMPILING_EMULATOR)
  add_test(NAME wine_prefix COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} --prepare ${CMAKE_BINARY_DIR})
  add_test(NAME wine_server_stop COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} --stop ${CMAKE_BINARY_DIR})
  set_tests_properties(wine_prefix PROPERTIES FIXTURES_SETUP wine LABELS wine TIMEOUT 300)
  set_tests_properties(wine_server_stop PROPERTIES FIXTURES_CLEANUP wine LABELS wine)
  set(ZAVO_DOCTEST_FIXTURE wine)
endif()

# zavo_add_doctest(NAME SOURCES ... [LIBS ...] [ENV ...] [LABELS ...] [X_DISPLAY])
# X_DISPLAY: the test runs on a private X display of its own, which Wine draws
# on, where it must read back what its windows drew.
function(zavo_add_doctest name)
  cmake_parse_arguments(T "X_DISPLAY" "" "SOURCES;LIBS;ENV;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE zavo_doctest_main ${T_LIBS} zavo_warnings)
  if(T_X_DISPLAY)
    add_test(NAME ${name} COMMAND bash ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/support/with_x_display.sh
      ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:${name}>)
  else()
    add_test(NAME ${name} COMMAND ${name})
  endif()
  set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}" TIMEOUT 300)
  if(ZAVO_DOCTEST_FIXTURE)
    # Windows made under Wine go to its null driver, never to a real display.
    if(NOT T_X_DISPLAY)
      list(PREPEND T_ENV "DISPLAY=")
    endif()
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED ${ZAVO_DOCTEST_FIXTURE})
  endif()
  if(T_ENV)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${T_ENV}")
  endif()
endfunction()
