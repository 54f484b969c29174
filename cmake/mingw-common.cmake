# What both MinGW-w64 toolchains share; the including file sets TINTORA_MINGW_PROCESSOR first.
# The posix thread model: GoogleTest needs std::mutex.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${TINTORA_MINGW_PROCESSOR})
set(TINTORA_MINGW_TRIPLE ${TINTORA_MINGW_PROCESSOR}-w64-mingw32)

set(CMAKE_C_COMPILER   ${TINTORA_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TINTORA_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${TINTORA_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TINTORA_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Test executables run under Wine in the test environment (see tools/wine-run.sh).
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run.sh)
