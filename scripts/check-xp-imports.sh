#!/usr/bin/env bash
# Fails unless every function that the given 32-bit Windows programs import is on the
# list of functions that Windows XP SP3 provides (tests/xp-imports.txt). A function that
# newer Windows versions added must be looked up at run time instead, so that the program
# still starts on XP.
#
#   scripts/check-xp-imports.sh [PROGRAM.exe...]     (default: build/win32/belvosta.exe)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
allowed_list=$root/tests/xp-imports.txt
[ "$#" -gt 0 ] || set -- "$root/build/win32/belvosta.exe"

objdump_tool=i686-w64-mingw32-objdump
if ! command -v "$objdump_tool" >/dev/null 2>&1; then
  echo "check-xp-imports.sh: $objdump_tool is missing (scripts/install-deps.sh windows)" >&2
  exit 2
fi

# "dll function" per line, the DLL in lower case, as the list writes them.
allowed=$(sed -e 's/#.*//' -e '/^[[:space:]]*$/d' "$allowed_list" |
          awk '{print tolower($1), $2}' | sort -u)

# The import table of objdump -p: "DLL Name: X" opens a DLL, then one line per function
# (address, hint, name); an import by ordinal alone has no name and shows as "#ordinal".
# The table ends at the next heading, the first line that is not indented.
imports_of() {
  "$objdump_tool" -p "$1" | awk '
    /^The Import Tables/ { table = 1; next }
    table && /^[^ \t]/ { table = 0 }
    !table { next }
    /DLL Name:/ { dll = tolower($3); next }
    dll != "" && /^\t[0-9a-f]+\t/ { print dll, (NF >= 3 ? $3 : "#" $2) }'
}

status=0
for program in "$@"; do
  if [ ! -f "$program" ]; then
    echo "$program: no such file" >&2
    status=1
    continue
  fi
  if ! imports=$(imports_of "$program" | sort -u) || [ -z "$imports" ]; then
    echo "$program: no import table found; not a 32-bit Windows program?" >&2
    status=1
    continue
  fi
  missing=$(comm -23 <(printf '%s\n' "$imports") <(printf '%s\n' "$allowed"))
  if [ -n "$missing" ]; then
    printf '%s\n' "$missing" | while read -r dll function; do
      echo "$program: imports $function from $dll, which is not on the Windows XP SP3 list" \
           "(tests/xp-imports.txt)" >&2
    done
    status=1
  else
    echo "$program: all $(printf '%s\n' "$imports" | wc -l) imported functions exist on Windows XP SP3"
  fi
done
exit "$status"
