# Cross-compile for 64-bit Windows with MinGW-w64.
set(TINTORA_MINGW_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
