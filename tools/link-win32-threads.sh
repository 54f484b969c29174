#!/usr/bin/env bash
# Link launcher for the shipped program and library (CMake's CXX_LINKER_LAUNCHER): runs the
# same link with the win32 thread model's compiler driver. The posix model's static runtime
# brings winpthreads, whose imports (GetTickCount64, AddVectoredExceptionHandler) would keep
# the program from loading on Windows 2000 and XP. The objects are the same either way.
#   link-win32-threads.sh COMPILER ARGUMENTS...
set -euo pipefail
driver=$1
shift
exec "${driver/%-posix/-win32}" "$@"
