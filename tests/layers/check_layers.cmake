# Fails when an #include in ROOT/src points against the layers:
#
#   core            core only, and the C++ standard library
#   forms           forms, core
#   platform/linux  its own folder, core
#   platform/win32  its own folder, core
#   platform/fake   every backend, core
#   ui/qt           its own folder, forms, core, platform/linux
#   ui/win32        its own folder, forms, core, platform/win32
#
# cmake -DROOT=<folder holding src/> -P check_layers.cmake
cmake_minimum_required(VERSION 3.20)
set(layers core forms platform/linux platform/win32 platform/fake ui/qt ui/win32)
set(allowed_core core)
set(allowed_forms forms core)
set(allowed_platform/linux platform/linux core)
set(allowed_platform/win32 platform/win32 core)
set(allowed_platform/fake platform/fake platform/linux platform/win32 core)
set(allowed_ui/qt ui/qt forms core platform/linux)
set(allowed_ui/win32 ui/win32 forms core platform/win32)
# The code page converters are the system's own (iconv in the C library,
# MultiByteToWideChar); nothing else in core or forms sees a system header.
set(system_headers_core/cp932_iconv.cpp iconv.h)
set(system_headers_core/cp932_win32.cpp windows.h)

if(NOT ROOT)
  message(FATAL_ERROR "check_layers.cmake: set -DROOT=<folder holding src/>")
endif()
set(src ${ROOT}/src)

# The layer of a path relative to src/: the longest entry of `layers` it lies in.
function(layer_of path out)
  set(best "")
  foreach(layer IN LISTS layers)
    string(LENGTH "${layer}" n)
    string(LENGTH "${best}" b)
    if((path MATCHES "^${layer}/") AND n GREATER b)
      set(best ${layer})
    endif()
  endforeach()
  set(${out} "${best}" PARENT_SCOPE)
endfunction()

set(faults 0)
file(GLOB_RECURSE files RELATIVE ${src} ${src}/*.h ${src}/*.cpp)
list(SORT files)
foreach(file IN LISTS files)
  layer_of(${file} from)
  if(NOT from)
    message("${file}: its folder is in no layer")
    math(EXPR faults "${faults} + 1")
    continue()
  endif()
  get_filename_component(dir ${file} DIRECTORY)
  file(STRINGS ${src}/${file} lines REGEX "^[ \t]*#[ \t]*include")
  foreach(line IN LISTS lines)
    if(line MATCHES "include[ \t]*<([^>]+)>")
      # Standard headers have short lower-case names without an extension.
      set(header ${CMAKE_MATCH_1})
      if((from STREQUAL "core" OR from STREQUAL "forms") AND NOT header MATCHES "^[a-z_]+$"
         AND NOT header IN_LIST system_headers_${file})
        message("${file}: <${header}> is no standard header")
        math(EXPR faults "${faults} + 1")
      endif()
      continue()
    endif()
    if(NOT line MATCHES "include[ \t]*\"([^\"]+)\"")
      continue()
    endif()
    set(included ${CMAKE_MATCH_1})
    # "core/x.h" from src/, "x.h" and "../x.h" from the including folder.
    if(included MATCHES "^(core|forms|platform|ui)/")
      set(target ${included})
    else()
      cmake_path(SET target NORMALIZE "${dir}/${included}")
    endif()
    layer_of(${target} to)
    if(NOT to)
      set(to "${target}, in no layer")
    endif()
    if(NOT to IN_LIST allowed_${from})
      message("${file}: \"${included}\" points from ${from} to ${to}")
      math(EXPR faults "${faults} + 1")
    endif()
  endforeach()
endforeach()

list(LENGTH files checked)
if(faults)
  message(FATAL_ERROR "${faults} faults against the layers (${checked} files)")
endif()
message("${checked} files, every include along the layers")
