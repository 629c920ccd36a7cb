#!/usr/bin/env bash
# Every Windows program the project ships is self-contained: its import
# table names only DLLs that every Windows system (7 and later) has. A
# library's DLL (zlib1.dll, libpng16.dll) or one of MinGW's run-times
# (libgcc_s_seh-1.dll, libstdc++-6.dll, libwinpthread-1.dll) would be
# missing on a player's machine, even where Wine has a copy of its own.
#
#   check_imports.sh OBJDUMP PROGRAM.exe...
set -uo pipefail
objdump=$1
shift

# The system's own DLLs a Win32 game may import, in lower case.
system_dlls=(kernel32.dll user32.dll gdi32.dll advapi32.dll msvcrt.dll shell32.dll ole32.dll
  oleaut32.dll winmm.dll imm32.dll version.dll shlwapi.dll comctl32.dll comdlg32.dll ws2_32.dll
  d3d9.dll ddraw.dll dinput.dll dinput8.dll dsound.dll)
is_system_dll() {
  local known
  for known in "${system_dlls[@]}"; do [ "$1" = "$known" ] && return 0; done
  return 1
}

status=0
for program in "$@"; do
  imports=$("$objdump" -p "$program" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | tr -d '\r')
  # Every Windows program imports kernel32.dll: without it, the table was
  # not read, and an empty list would prove nothing.
  if ! grep -qx kernel32.dll <<<"$imports"; then
    echo "FAIL: $program: no import table read (objdump: $("$objdump" -p "$program" 2>&1 | head -n 3))"
    status=1
    continue
  fi
  foreign=()
  for dll in $imports; do
    is_system_dll "$dll" || foreign+=("$dll")
  done
  if [ ${#foreign[@]} -gt 0 ]; then
    echo "FAIL: $(basename "$program") imports DLLs a Windows system lacks: ${foreign[*]}"
    status=1
  else
    echo "$(basename "$program"): $(tr '\n' ' ' <<<"$imports")"
  fi
done
exit $status
