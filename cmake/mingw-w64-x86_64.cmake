# Cross-build for 64-bit Windows with MinGW-w64 (Debian's g++-mingw-w64-x86-64-posix).
# Programs are linked statically, so each .exe runs on its own; CTest runs them
# under Wine through scripts/wine-run.sh.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZAVO_MINGW_TRIPLE x86_64-w64-mingw32)
# The -posix flavour has std::thread and std::mutex.
set(CMAKE_C_COMPILER ${ZAVO_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZAVO_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${ZAVO_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ZAVO_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# libgcc, libstdc++ and winpthread linked in: no MinGW DLLs next to the .exe.
# Each function and object in a section of its own, so that the linker leaves
# out what nothing calls, of ours and of the static libraries.
set(CMAKE_C_FLAGS_INIT "-ffunction-sections -fdata-sections")
set(CMAKE_CXX_FLAGS_INIT "-ffunction-sections -fdata-sections")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -Wl,--gc-sections")

get_filename_component(_zavo_source_root "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${_zavo_source_root}/scripts/wine-run.sh)
