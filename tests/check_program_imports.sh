#!/usr/bin/env bash
# What the shipped program and library import must load on the oldest Windows of their
# architecture (x86: Windows 95; x64: Windows XP x64): only system DLLs (and the About box
# library), none of the functions that the posix thread model's runtime brings (Vista's
# GetTickCount64, XP's vectored exception handlers) or that a newer runtime or header might
# (Vista's locks, condition variables and one-time initialisation), and none of those the program
# looks up at run time because early systems lack them. Every import is listed.
#   check_program_imports.sh OBJDUMP tintora.exe ostrel_about.dll
set -uo pipefail
objdump=${1:-i686-w64-mingw32-objdump}
shift
allowed_dlls="advapi32.dll comctl32.dll comdlg32.dll gdi32.dll kernel32.dll msvcrt.dll msvfw32.dll shell32.dll user32.dll ostrel_about.dll"
looked_up="GetTickCount64 AddVectoredExceptionHandler RemoveVectoredExceptionHandler
  AllowSetForegroundWindow IsProcessorFeaturePresent MonitorFromRect MonitorFromWindow MonitorFromPoint GetMonitorInfoA
  NotifyWinEvent CoInitializeEx CoInitialize CreateStdAccessibleObject LresultFromObject SysAllocString
  SHGetSpecialFolderPathA
  InitializeSRWLock AcquireSRWLockExclusive AcquireSRWLockShared ReleaseSRWLockExclusive
  ReleaseSRWLockShared InitializeConditionVariable SleepConditionVariableCS SleepConditionVariableSRW
  WakeConditionVariable WakeAllConditionVariable InitOnceExecuteOnce InitOnceBeginInitialize
  InitOnceComplete CreateEventExW CreateSemaphoreExW GetSystemTimePreciseAsFileTime
  GetLocaleInfoEx CompareStringEx LCMapStringEx GetFinalPathNameByHandleW"
failed=0

for file in "$@"; do
  name=$(basename "$file")
  # "DLL Name: X" starts a block; its rows are "hint-rva  ordinal  Name".
  table=$("$objdump" -p "$file" | awk '
    /DLL Name:/ { dll = tolower($3); print "dll " dll; next }
    dll != "" && NF == 3 && $1 ~ /^[0-9a-f]+$/ && $2 ~ /^[0-9]+$/ { print "fn " $3 }')
  dlls=$(sed -n 's/^dll //p' <<<"$table")
  functions=$(sed -n 's/^fn //p' <<<"$table")
  echo "$name imports:"
  awk '/^dll / { if (line) print line; line = "  " $2 ":"; next } { line = line " " $2 }
       END { if (line) print line }' <<<"$table" | fold -s -w 100 | sed 's/^\([^ ]\)/      \1/' 
  if [ -z "$functions" ]; then
    echo "FAIL: no imported functions read from $name"; failed=1
  fi
  for dll in $dlls; do
    if ! grep -qw -- "$dll" <<<"$allowed_dlls"; then
      echo "FAIL: $name imports from $dll"; failed=1
    fi
  done
  for fn in $looked_up; do
    if grep -qx -- "$fn" <<<"$functions"; then
      echo "FAIL: $name imports $fn"; failed=1
    fi
  done
done

[ $failed -eq 0 ] && echo "ok"
exit $failed
