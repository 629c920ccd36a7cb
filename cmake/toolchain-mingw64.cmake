# Cross build for Windows x86-64 with Debian's MinGW-w64 (POSIX thread model,
# so std::thread and std::mutex work).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLE}-windres)

# The Windows dependencies (libpng, libjpeg-turbo, GoogleTest) are built by
# scripts/build-windows-deps into a cache prefix outside the repository.
if(NOT DEFINED VEXLO_WINDOWS_DEPS)
  if(DEFINED ENV{VEXLO_WINDOWS_DEPS})
    set(VEXLO_WINDOWS_DEPS $ENV{VEXLO_WINDOWS_DEPS})
  else()
    set(VEXLO_WINDOWS_DEPS $ENV{HOME}/.cache/vexlo/mingw64)
  endif()
endif()

set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLE} ${VEXLO_WINDOWS_DEPS})
set(CMAKE_PREFIX_PATH ${VEXLO_WINDOWS_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Static libraries only (the top CMakeLists.txt sets the search suffixes:
# the platform settings would override them here). Every program carries
# its C and C++ run-times, so that it needs no DLL beside it: the game,
# and any other program built with this file (the examples' generators,
# which run under Wine at build time, a program of one's own).
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# ctest runs the Windows test executables under Wine, in a prefix kept inside
# the build tree (see scripts/wine-run).
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run ${CMAKE_BINARY_DIR}/wineprefix)
