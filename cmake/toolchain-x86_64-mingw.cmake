# 64-bit Windows: the same code, built so the tests can run under Wine.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(DUNKO_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/bin/wine)
