# Cross-compile for 32-bit Windows with MinGW-w64.
set(TINTORA_MINGW_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
