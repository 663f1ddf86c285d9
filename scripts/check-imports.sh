#!/usr/bin/env bash
# Fails unless every DLL that the given Windows programs import ships with Windows itself
# (as of Windows XP SP3, the oldest version the product runs on): the program must run
# from a bare copy of the .exe, with no runtime DLLs beside it.
#
#   scripts/check-imports.sh build/win32/belvosta.exe build/win64/belvosta.exe
set -euo pipefail

if [ "$#" -eq 0 ]; then
  echo "usage: $0 PROGRAM.exe..." >&2
  exit 2
fi

# Windows' own DLLs that a program of this kind may import (lower case).
allowed=" advapi32.dll comctl32.dll comdlg32.dll gdi32.dll imagehlp.dll kernel32.dll
  msimg32.dll msvcrt.dll ntdll.dll ole32.dll oleaut32.dll shell32.dll shlwapi.dll user32.dll
  uxtheme.dll version.dll winmm.dll ws2_32.dll wsock32.dll "
allowed=" $(echo $allowed) "

objdump_tool=objdump
command -v "$objdump_tool" >/dev/null 2>&1 || objdump_tool=x86_64-w64-mingw32-objdump

status=0
for program in "$@"; do
  if [ ! -f "$program" ]; then
    echo "$program: no such file" >&2
    status=1
    continue
  fi
  if ! listing=$("$objdump_tool" -p "$program" 2>&1); then
    echo "$program: cannot read the import table: $listing" >&2
    status=1
    continue
  fi
  dlls=$(printf '%s\n' "$listing" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
  if [ -z "$dlls" ]; then
    echo "$program: no imports found; not a Windows program?" >&2
    status=1
    continue
  fi
  for dll in $dlls; do
    if [[ "$allowed" != *" $dll "* ]]; then
      echo "$program: imports $dll, which does not come with Windows" >&2
      status=1
    fi
  done
  echo "$program: imports $(echo $dlls | tr ' ' ',')"
done
exit "$status"
