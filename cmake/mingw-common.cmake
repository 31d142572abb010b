# Shared by the two MinGW-w64 toolchain files, which set RINGCFG_MINGW_TRIPLE
# and CMAKE_SYSTEM_PROCESSOR first.
#
# Thread model: the shipped program is built with the win32 model, whose
# runtime imports nothing newer than Windows XP (the posix model links
# winpthread, which imports GetTickCount64). The win-tier tests need the posix
# model: GoogleTest uses std::mutex. A tree of tests is configured with
# -DRINGCFG_WIN_TESTS=ON.
set(CMAKE_SYSTEM_NAME Windows)
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES RINGCFG_WIN_TESTS)
if(RINGCFG_WIN_TESTS)
  set(_ringcfg_threads posix)
else()
  set(_ringcfg_threads win32)
endif()
set(CMAKE_C_COMPILER ${RINGCFG_MINGW_TRIPLE}-gcc-${_ringcfg_threads})
set(CMAKE_CXX_COMPILER ${RINGCFG_MINGW_TRIPLE}-g++-${_ringcfg_threads})
set(CMAKE_RC_COMPILER ${RINGCFG_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${RINGCFG_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Windows executables run under the project's Wine prefixes; the script picks
# 32- or 64-bit Wine from the executable's own header.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-null)
