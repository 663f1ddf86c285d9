#!/usr/bin/env bash
# The Windows program's whole check (`belvosta.exe --check`) under Wine on a system folder
# that holds 100,000 more files (bench/make_trees.py wide100k) and no Flash Player, against
# the image help library's SearchTreeForFile walking the same system folder, in interleaved
# rounds of one run. Each round runs
#
#   1. tree_search_bench.exe 'C:\windows\system32' imagehlp: SearchTreeForFile (and our walk)
#      of the whole system folder for a name that is not there, best of three, in-process;
#   2. belvosta.exe --check, timed as a whole process, and belvosta.exe --help, the cost of
#      starting a process under Wine, which the check's time is then given without.
#
#   bench/win32/check_wine.sh [BUILD_DIR] [BASE] [ROUNDS]   (BUILD_DIR default build/win64:
#                                                           belvosta.exe, tree_search_bench.exe)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "${1:-$root/build/win64}" && pwd)
base=${2:-/tmp/belvosta-bench}
rounds=${3:-5}
python3 "$root/bench/make_trees.py" "$base" wide100k >/dev/null
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver64)

work=$(mktemp -d /tmp/belvosta-wine-check.XXXXXX)
cleanup() {
  WINEPREFIX=$work/prefix "$wineserver" -k >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT
export WINEDLLOVERRIDES="mscoree,mshtml=,winemenubuilder.exe=d" WINEDEBUG=-all WINEARCH=win64
export WINEPREFIX=$work/prefix
"$wine" wineboot -i >"$work/wineboot.log" 2>&1
mkdir -p "$WINEPREFIX/drive_c/bench"
cp "$build/belvosta.exe" "$build/tree_search_bench.exe" "$WINEPREFIX/drive_c/bench/"
cp -r "$base/wide100k" "$WINEPREFIX/drive_c/windows/system32/wide100k"
system=$WINEPREFIX/drive_c/windows/system32
echo "system folder: $(find "$system" -type f | wc -l) files in $(find "$system" -type d | wc -l) folders"
"$wineserver" -w
echo "load before: $(uptime)"

seconds() { date +%s.%N; }
for round in $(seq "$rounds"); do
  walk=$("$wine" 'C:\bench\tree_search_bench.exe' 'C:\windows\system32' imagehlp | tr -d '\r' |
    sed -n 's/^SearchTreeForFile of .*: \([0-9.]*\) s$/\1/p')
  start=$(seconds)
  "$wine" 'C:\bench\belvosta.exe' --check >"$work/check.txt" 2>&1 || true
  middle=$(seconds)
  "$wine" 'C:\bench\belvosta.exe' --help >/dev/null 2>&1 || true
  end=$(seconds)
  awk -v r="$round" -v w="$walk" -v c="$(awk -v a="$middle" -v b="$start" 'BEGIN { print a - b }')" \
    -v h="$(awk -v a="$end" -v b="$middle" 'BEGIN { print a - b }')" 'BEGIN {
      printf "round %d: SearchTreeForFile %.3f s, --check %.3f s, --help %.3f s, check without start %.3f s = %.2f x\n",
        r, w, c, h, c - h, (c - h) / w }'
done
cat "$work/check.txt"
echo "load after: $(uptime)"
