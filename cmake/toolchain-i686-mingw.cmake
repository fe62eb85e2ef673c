# 32-bit Windows: the product build. Its tests run here under Wine's WoW64
# mode (scripts/run-tests-i686.sh).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(DUNKO_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)

# Windows keeps only 4-byte stack alignment on 32-bit, while GCC assumes 16
# for SSE code: realign in every function the system may call back (window
# and dialog procedures, thread entries).
string(APPEND CMAKE_C_FLAGS_INIT " -mstackrealign")
string(APPEND CMAKE_CXX_FLAGS_INIT " -mstackrealign")
