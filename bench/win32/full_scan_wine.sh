#!/usr/bin/env bash
# The Windows program's full scan under Wine on a system folder that holds 100,000 more
# files (bench/make_trees.py wide100k, 5,050 folders) and no Flash Player, against the image
# help library's SearchTreeForFile walking the same system folder in the same run:
#
#   1. tree_search_bench.exe 'C:\windows\system32' imagehlp: our walk and SearchTreeForFile
#      of the whole system folder for a name that is not there, best of three alternating;
#   2. the e2e driver starts belvosta.exe, clicks "Gesamt suche  scan..." and waits for the
#      Flash Player box (twice, each with a fresh program). The driver prints each step as it
#      begins; the time from the line of the step after the click to the line of the step
#      after the box is the time from the click to the box (the driver looks every 50 ms);
#   3. meanwhile answer_gaps.exe sends the main window an empty message every 10 ms and
#      prints every gap between its answers over 50 ms; the longest from the click to the
#      box is printed beside that scan's time.
#
#   bench/win32/full_scan_wine.sh [BUILD_DIR] [BASE]   (BUILD_DIR default build/win64: belvosta.exe,
#                                                      belvosta_e2e.exe, open_logger.exe,
#                                                      tree_search_bench.exe, answer_gaps.exe;
#                                                      BASE as for make_trees.py)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "${1:-$root/build/win64}" && pwd)
base=${2:-/tmp/belvosta-bench}
python3 "$root/bench/make_trees.py" "$base" wide100k >/dev/null
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver64)

work=$(mktemp -d /tmp/belvosta-wine-scan.XXXXXX)
xvfb_pid=""
cleanup() {
  WINEPREFIX=$work/prefix "$wineserver" -k >/dev/null 2>&1 || true
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
DISPLAY=":$(head -n1 "$work/display")"
export DISPLAY
export WINEDLLOVERRIDES="mscoree,mshtml=,winemenubuilder.exe=d" WINEDEBUG=-all WINEARCH=win64
export WINEPREFIX=$work/prefix

# The prefix as tests/e2e/run.sh prepares it (virtual desktop, no X window management, the
# logger as the browser), with the registry settings taken from run.sh itself.
"$wine" wineboot -i >"$work/wineboot.log" 2>&1
sed -n "/cat >>\\?\"\$work\/base.reg\" <<'EOF'\$/,/^EOF\$/p" "$root/tests/e2e/run.sh" |
  sed "/base.reg\" <<'EOF'\$/d; /^EOF\$/d" \
  >"$WINEPREFIX/drive_c/base.reg"
if ! grep -q 'http\\shell\\open' "$WINEPREFIX/drive_c/base.reg" ||
  ! grep -q 'Explorer\\Desktops' "$WINEPREFIX/drive_c/base.reg"; then
  echo "full_scan_wine.sh: no registry settings found in tests/e2e/run.sh" >&2
  exit 1
fi
"$wine" regedit /S 'C:\base.reg'
e2e=$WINEPREFIX/drive_c/e2e
mkdir -p "$e2e"
cp "$build/belvosta.exe" "$build/belvosta_e2e.exe" "$build/open_logger.exe" \
  "$build/tree_search_bench.exe" "$build/answer_gaps.exe" "$root/tests/e2e/layout.txt" "$e2e/"
cp "$build/open_logger.exe" "$e2e/explorer.exe"
cp -r "$base/wide100k" "$WINEPREFIX/drive_c/windows/system32/wide100k"
system=$WINEPREFIX/drive_c/windows/system32
if find "$system" -iname 'flash*.ocx' -o -iname 'swflash.ocx' | grep -q .; then
  echo "full_scan_wine.sh: the system folder holds a Flash Player file" >&2
  exit 1
fi
echo "system folder: $(find "$system" -type f | wc -l) files in $(find "$system" -type d | wc -l) folders"
"$wineserver" -w

"$wine" 'C:\e2e\tree_search_bench.exe' 'C:\windows\system32' imagehlp

for run in 1 2; do
  cat <<EOF
scenario "Full scan to the Flash Player box ($run)"
start
window sucher1
click sucher1.Label12
box title="Achtung: Flash Player ist nicht installiert! Wichtig!" text="Bitte zuerst den Flash Player von Adobe herunterladen ?" buttons=Yes,No,Cancel owner=sucher1
answer Yes
opened "http://www.adobe.com/de/flashplayer/"
EOF
done >"$e2e/scan.txt"
"$wine" 'C:\e2e\answer_gaps.exe' 30 >"$work/gaps.out" &
gaps_pid=$!
"$wine" 'C:\e2e\belvosta_e2e.exe' --program 'C:\e2e\belvosta.exe' --layout 'C:\e2e\layout.txt' \
  --opened-log 'C:\e2e\opened.log' --verbose 'C:\e2e\scan.txt' |
  while IFS= read -r line; do printf '%s %s\n' "$EPOCHREALTIME" "${line%$'\r'}"; done |
  tee "$work/driver.out"
# The step after the click begins right after the click; the step after the box, once the
# box is there.
wait "$gaps_pid"
cat "$work/gaps.out"
# From the click to the box: the time, and the longest gap in the main window's answers.
awk 'FNR == NR && /^gap / { gap[++gaps] = $2; end[gaps] = $6; next }
     /: click / { state = 1; next }
     state == 1 && /: box / { start = $1; state = 2; next }
     state == 2 {
       longest = 0
       for (i = 1; i <= gaps; ++i)
         if (end[i] > start && end[i] <= $1 && gap[i] > longest) longest = gap[i]
       printf "click to Flash Player box: %.2f s, longest gap in the answers %.3f s\n",
         $1 - start, longest
       state = 0
     }' "$work/gaps.out" "$work/driver.out"
