# 32-bit Windows: the product build. Built and linked here, never run.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(DUNKO_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
