#!/usr/bin/env bash
# Runs the end-to-end scenarios of the Windows program under Wine, on a virtual X display
# of its own, and prints "N passed, N failed" as its last line.
#
#   tests/e2e/run.sh [--build DIR] [SCENARIO.txt...]
#
# DIR (default build/win64) holds belvosta.exe and the two programs of tests/e2e: the
# driver belvosta_e2e.exe and open_logger.exe. A 32-bit build (build/win32) runs in a
# 32-bit prefix under Debian's 32-bit Wine (scripts/wine32-setup.sh makes a machine
# without 32-bit support run it, through an emulator). First the command line is tried
# (tests/cli/command_line.sh); then, without scenario files, it runs every tests/e2e/scenarios/*.txt.
# Each file is a scenario set: it gets a fresh copy of one
# prepared Wine prefix, in which its "setup" lines place or remove component files and set
# the Windows version before its first scenario. E2E_VERBOSE=1 shows every step.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$root/build/win64
if [ "${1:-}" = "--build" ]; then
  build=$(cd "$2" && pwd)
  shift 2
fi
if [ "$#" -gt 0 ]; then
  scenarios=("$@")
else
  scenarios=("$here"/scenarios/*.txt)
fi

for program in belvosta.exe belvosta_e2e.exe open_logger.exe; do
  if [ ! -f "$build/$program" ]; then
    echo "run.sh: $build/$program is missing; build the win64 preset first" >&2
    exit 2
  fi
done
# The Wine of the program's processor, from the machine field of its PE header.
if [ "$("$here/pe_machine.sh" "$build/belvosta.exe")" = i386 ]; then
  wine=/usr/lib/wine/wine
  export WINEARCH=win32
else
  wine=$(command -v wine64 || true)
  [ -n "$wine" ] || wine=/usr/lib/wine/wine64
  export WINEARCH=win64
fi
wineserver=$(command -v wineserver || true)
[ -n "$wineserver" ] || wineserver=/usr/lib/wine/wineserver64
for tool in "$wine" "$wineserver" "$(command -v Xvfb || echo Xvfb)"; do
  if [ ! -x "$tool" ]; then
    echo "run.sh: $tool is missing (scripts/install-deps.sh wine)" >&2
    exit 2
  fi
done

work=$(mktemp -d /tmp/belvosta-e2e.XXXXXX)
xvfb_pid=""
driver_pid=""
tail_pid=""
prefixes=()

# Ends what this script started: the Wine servers of its prefixes (with every Windows
# process in them) and its X server; then removes its files.
cleanup() {
  local prefix
  [ -z "$driver_pid" ] || kill "$driver_pid" 2>/dev/null || true
  [ -z "$tail_pid" ] || kill "$tail_pid" 2>/dev/null || true
  for prefix in "${prefixes[@]}"; do
    WINEPREFIX=$prefix "$wineserver" -k >/dev/null 2>&1 || true
  done
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# A display of our own; Xvfb names the first free number.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
if [ ! -s "$work/display" ]; then
  echo "run.sh: Xvfb did not start: $(cat "$work/xvfb.log")" >&2
  exit 2
fi
export DISPLAY=":$(head -n1 "$work/display")"

# No Mono or Gecko installer prompts, no menu entries on the host, no debug chatter.
export WINEDLLOVERRIDES="mscoree,mshtml=,winemenubuilder.exe=d"
# Under the 32-bit emulator the debugger Wine starts at a crash cannot attach and waits
# for ever, holding the prefix open; without it the crashed process just ends.
[ "$WINEARCH" = win32 ] && WINEDLLOVERRIDES+=";winedbg.exe=d"
export WINEDEBUG=-all
unset WINESERVER

# Settings every set shares: no crash dialog that would wait for a click; Wine's virtual
# desktop, so that windows take the focus without a window manager; no window management
# by X at all (hiding a window would otherwise stall for seconds); a German user's decimal
# comma; and the shell's "Open" for web addresses handed to the logger. Folders reach the
# logger as explorer.exe beside the program: Wine opens a folder by running the first
# explorer.exe on the program's search path, whose first place is the program's folder.
cat >"$work/base.reg" <<'EOF'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"

[HKEY_CURRENT_USER\Control Panel\International]
"sDecimal"=","

[HKEY_CLASSES_ROOT\http\shell\open\command]
@="\"C:\\e2e\\open_logger.exe\" \"%1\""
EOF
# Under the 32-bit emulator Wine's virtual desktop dies at its first X request; there the
# windows take the focus without it.
if [ "$WINEARCH" = win64 ]; then
  cat >>"$work/base.reg" <<'EOF'

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="1024x768"
EOF
fi

base=$work/base
prefixes+=("$base")
echo "Preparing the Wine prefix"
# Without a display under the 32-bit emulator: the desktop process that the boot and
# regedit start can die at its first X request there and leave them waiting for ever.
boot_display=$DISPLAY
[ "$WINEARCH" = win32 ] && boot_display=""
WINEPREFIX=$base DISPLAY=$boot_display "$wine" wineboot -i >"$work/wineboot.log" 2>&1 || {
  echo "run.sh: wineboot failed:" >&2
  cat "$work/wineboot.log" >&2
  exit 2
}
cp "$work/base.reg" "$base/drive_c/base.reg"
WINEPREFIX=$base DISPLAY=$boot_display "$wine" regedit /S 'C:\base.reg'
mkdir -p "$base/drive_c/e2e"
cp "$build/belvosta.exe" "$build/belvosta_e2e.exe" "$build/open_logger.exe" "$here/layout.txt" \
  "$base/drive_c/e2e/"
cp "$build/open_logger.exe" "$base/drive_c/e2e/explorer.exe"
# The registry reaches its files when the server ends; a Wine process stuck under the
# emulator does not keep it waiting.
WINEPREFIX=$base timeout 180 "$wineserver" -w || WINEPREFIX=$base "$wineserver" -k

# What a prefix holds: each folder, and each file with its size and time of change. Left
# out is what Wine itself rewrites: its registry files (the *.reg at the top), its links
# for drives and ports (dosdevices/, made again as Wine starts) and the compiled driver
# lists its plug-and-play service writes again when it restarts (windows/inf/*.pnf; under
# the 32-bit emulator that service crashes and restarts now and then).
prefix_state() {
  (cd "$1" && find . \( -regex '\./[^/]*\.reg' -o -path ./dosdevices \
    -o -path './drive_c/windows/inf/*.pnf' \) -prune \
    -o -type d -printf 'folder\t%p\n' \
    -o -printf 'file\t%p\t%s\t%T@\n') | LC_ALL=C sort
}

# The paths below C: that a scenario set's "setup file"/"setup remove" lines name (or only
# those of the kind given).
setup_paths() {
  sed -n "s/^[[:space:]]*setup[[:space:]]\+\(${2:-file\|remove}\)[[:space:]]\+'[A-Za-z]:\\\\\([^']*\)'.*/\2/p" \
    "$1" | tr '\134' '/'
}

# The changes between two states of a prefix that neither the test's own files (paths below
# C: in the file ALLOWED, with the folders above them) nor the test programs made: the
# shell's "Open" log of the logger and the driver's pictures of failures.
unexpected_changes() {
  local before=$1 after=$2 allowed=$3
  { diff "$before" "$after" || true; } | sed -n 's/^[<>] //p' | awk -F '\t' -v allowed="$allowed" '
    BEGIN {
      while ((getline path < allowed) > 0) {
        path = tolower("./drive_c/" path)
        ok[path] = 1
        while (sub(/\/[^\/]*$/, "", path)) ok[path] = 1
      }
      ok["./drive_c/e2e/opened.log"] = 1
    }
    {
      path = tolower($2)
      if (path in ok || index(path, "./drive_c/e2e/shots") == 1) next
      print
    }' | LC_ALL=C sort -u
}

# Prepares a set's prefix from its "setup" lines before any Windows program of the set
# starts: component files placed or removed, registry texts and the screen's DPI (one
# regedit for all of them).
prepare_set() {
  local scenario=$1 prefix=$2 path
  while IFS= read -r path; do
    mkdir -p "$(dirname "$prefix/drive_c/$path")"
    echo "placed by the end-to-end tests" >"$prefix/drive_c/$path"
  done < <(setup_paths "$scenario" file)
  while IFS= read -r path; do
    rm "$prefix/drive_c/$path"
  done < <(setup_paths "$scenario" remove)
  python3 - "$scenario" >"$prefix/drive_c/setup.reg" <<'PY'
import re, sys
roots = {"HKCU": "HKEY_CURRENT_USER", "HKLM": "HKEY_LOCAL_MACHINE"}
keys = []
for line in open(sys.argv[1], encoding="utf-8").read().splitlines():
    reg = re.match(r"""\s*setup\s+reg\s+'(HKCU|HKLM)\\([^']*)'\s+(\S+)\s+"?([^"]*)"?\s*$""", line)
    dpi = re.match(r"\s*setup\s+dpi\s+(\d+)\s*$", line)
    if reg:
        keys.append(f'[{roots[reg[1]]}\\{reg[2]}]\n"{reg[3]}"="{reg[4]}"\n')
    if dpi:
        keys.append(f'[HKEY_CURRENT_USER\\Control Panel\\Desktop]\n"LogPixels"=dword:{int(dpi[1]):08x}\n')
print("REGEDIT4\n\n" + "\n".join(keys) if keys else "", end="")
PY
  if [ -s "$prefix/drive_c/setup.reg" ]; then
    WINEPREFIX=$prefix "$wine" regedit /S 'C:\setup.reg'
  fi
  rm "$prefix/drive_c/setup.reg"
}

rm -rf "$build/e2e-failures"
passed=0
failed=0
# Each set, and the command line before them, gets a fresh copy of the prepared prefix.
prefix=$work/set
new_prefix() {
  rm -rf "$prefix"
  cp -a "$base" "$prefix"
  prefixes+=("$prefix")
}
# The program writes nothing: what the prefix holds before a set, to compare after it.
note_prefix() {
  WINEPREFIX=$prefix "$wineserver" -w >/dev/null 2>&1 || true
  prefix_state "$prefix" >"$work/before"
}
# Ends the prefix's Wine processes, counts a failure when it changed beyond what the file
# ALLOWED names (see above), and removes it.
end_prefix() {
  local label=$1 allowed=$2
  WINEPREFIX=$prefix "$wineserver" -k >/dev/null 2>&1 || true
  WINEPREFIX=$prefix "$wineserver" -w >/dev/null 2>&1 || true
  prefix_state "$prefix" >"$work/after"
  unexpected_changes "$work/before" "$work/after" "$allowed" >"$work/changes"
  if [ -s "$work/changes" ]; then
    echo "FAIL $label: the prefix changed outside the registry and the test's own files:"
    sed 's/^/    /' "$work/changes" | head -n 40
    failed=$((failed + 1))
  else
    echo "    the prefix holds the same files as before, outside the registry"
  fi
  rm -rf "$prefix"
  unset 'prefixes[${#prefixes[@]}-1]'
}

# The command line with no display (tests/cli/command_line.sh), which places the Flash
# Player and runtime files.
echo "=== command line"
new_prefix
note_prefix
WINEPREFIX=$prefix BELVOSTA_RUNNER=$wine "$root/tests/cli/command_line.sh" \
  'C:\e2e\belvosta.exe' | tee "$work/cli.out" || true
passed=$((passed + $(grep -c '^PASS ' "$work/cli.out" || true)))
failed=$((failed + $(grep -c '^FAIL ' "$work/cli.out" || true)))
printf 'windows/system32/%s\n' Macromed/Flash/Flash10e.ocx MSCOMCTL.OCX RICHTX32.OCX \
  MSFLXGRD.OCX >"$work/cli-paths"
end_prefix "command line" "$work/cli-paths"
for scenario in "${scenarios[@]}"; do
  name=$(basename "$scenario")
  expected=$(grep -c '^[[:space:]]*scenario[[:space:]]' "$scenario" || true)
  echo "=== $name"
  new_prefix
  cp "$scenario" "$prefix/drive_c/e2e/$name"
  prepare_set "$scenario" "$prefix"
  note_prefix

  arguments=(--program 'C:\e2e\belvosta.exe' --layout 'C:\e2e\layout.txt'
             --opened-log 'C:\e2e\opened.log' --shots 'C:\e2e\shots')
  [ "${E2E_VERBOSE:-0}" = 1 ] && arguments+=(--verbose)
  # In the background, so that a signal to this script is acted upon at once.
  status=0
  : >"$work/driver.out"
  WINEPREFIX=$prefix timeout 600 "$wine" 'C:\e2e\belvosta_e2e.exe' "${arguments[@]}" \
    "C:\\e2e\\$name" >"$work/driver.out" 2>"$work/driver.err" &
  driver_pid=$!
  tail -n +1 --pid="$driver_pid" -f "$work/driver.out" &
  tail_pid=$!
  wait "$driver_pid" || status=$?
  wait "$tail_pid" || true
  driver_pid=""
  tail_pid=""
  set_passed=$(grep -c '^PASS ' "$work/driver.out" || true)
  set_failed=$(grep -c '^FAIL ' "$work/driver.out" || true)
  # A driver that stopped early (a crash, the time limit) leaves scenarios unreported.
  missing=$((expected - set_passed - set_failed))
  if [ "$missing" -gt 0 ] || { [ "$status" -ne 0 ] && [ "$set_failed" -eq 0 ]; }; then
    [ "$missing" -gt 0 ] || missing=1
    echo "FAIL $name: the driver ended with status $status, $missing scenario(s) unreported"
    sed 's/^/    /' "$work/driver.err" | tail -n 20
    set_failed=$((set_failed + missing))
  fi
  # Pictures of the screen at each failure, for a person to look at afterwards.
  if compgen -G "$prefix/drive_c/e2e/shots/*.bmp" >/dev/null; then
    mkdir -p "$build/e2e-failures"
    cp "$prefix"/drive_c/e2e/shots/*.bmp "$build/e2e-failures/"
    echo "    pictures of the screen: $build/e2e-failures/"
  fi
  passed=$((passed + set_passed))
  failed=$((failed + set_failed))

  setup_paths "$scenario" >"$work/setup-paths"
  end_prefix "$name" "$work/setup-paths"
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
