# The same program built for 64-bit Windows, for hosts whose kernel cannot
# execute 32-bit programs (and so cannot run 32-bit Wine).
set(RINGCFG_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
