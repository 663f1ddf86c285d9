#!/usr/bin/env bash
# What only the real Windows process shows on the command line, under Wine with no display:
# its exit statuses, and its output through a pipe (line ends, the console code page, lost
# output). What the answers say is checked by tests/cli/ and the behaviour tests. Prints one
# PASS or FAIL line per case; run.sh counts them.
#
#   tests/e2e/command_line.sh WINE PREFIX VERSION
# PREFIX is a prepared prefix with the program at C:\e2e\belvosta.exe; it gets the Flash
# Player file below, and keeps the fresh prefix's lack of the runtime files.
set -uo pipefail

wine=$1
export WINEPREFIX=$2
version=$3
work=$(mktemp -d /tmp/belvosta-cli.XXXXXX)
trap 'rm -rf "$work"' EXIT
unset DISPLAY WAYLAND_DISPLAY

mkdir -p "$WINEPREFIX/drive_c/windows/system32/Macromed/Flash"
: >"$WINEPREFIX/drive_c/windows/system32/Macromed/Flash/Flash10e.ocx"

# Runs belvosta.exe with the arguments; output in $work/out and $work/err, status in $status.
run() {
  status=0
  timeout 120 "$wine" 'C:\e2e\belvosta.exe' "$@" >"$work/out" 2>"$work/err" || status=$?
  # Under the 32-bit emulator Wine's background services crash now and then, and the
  # emulator and Wine say so on the error output they share with the program. The status
  # and the output are still checked, so a crash of the program itself still fails.
  sed -i -e '/^qemu: uncaught target signal/d' -e '/^Inconsistency detected by ld\.so: /d' \
    -e '/^wine: Unhandled exception 0x[0-9a-f]* in thread [0-9a-f]* at address .*, starting debugger\.\.\.$/d' \
    "$work/err"
}
result() {  # NAME CONDITION-STATUS DETAIL
  if [ "$2" = 0 ]; then echo "PASS command line: $1"; else echo "FAIL command line: $1: $3"; fi
}

run --check
crlf=$'\r'
expected="Flash Player: OK (C:\\windows\\system32\\Macromed\\Flash\\Flash10e.ocx)$crlf
Visual-Basic Runtime-Dateien: fehlt (MSCOMCTL.OCX, RICHTX32.OCX, MSFLXGRD.OCX)$crlf
Windows Service-Pack Dateien: OK$crlf
Internet-Explorer: OK$crlf
Media Player Steuerelement: OK$crlf"
[ "$status" = 1 ] && [ "$(cat "$work/out")" = "$expected" ]
result "--check with the runtime files missing prints five lines, status 1" $? \
  "status $status, output: $(cat -A "$work/out")"

run --help
# "prüft" in the reader's code page (437 or 850 alike): ü is the byte 0x81.
[ "$status" = 0 ] && grep -q 'Aufruf: belvosta' "$work/out" && grep -q $'pr\x81ft' "$work/out"
result "--help prints the usage with its umlauts in the console code page, status 0" $? \
  "status $status, output: $(head -c 300 "$work/out" | cat -A)"

run --version
[ "$status" = 0 ] && [ "$(cat "$work/out")" = "Belvosta $version$crlf" ]
result "--version prints the version, status 0" $? "status $status, output: $(cat -A "$work/out")"

run /check /bogus
[ "$status" = 2 ] && [ ! -s "$work/out" ] && [ "$(wc -l <"$work/err")" = 1 ] &&
  grep -q '"/bogus"' "$work/err"
result "an unknown option is named on one line, status 2" $? \
  "status $status, stderr: $(cat "$work/err")"
# A lost answer is a failure (status 3): a full disk behind a redirected stdout, also when
# stderr is lost too, and a pipe whose reader has gone while SIGPIPE is ignored.
lost() {  # NAME COMMAND...: the command's status must be 3
  local name=$1 status=0
  shift
  "$@" || status=$?
  [ "$status" = 3 ]
  result "$name, status 3" $? "status $status"
}
program() { timeout 120 "$wine" 'C:\e2e\belvosta.exe' "$@"; }
full_disk() { program --version >/dev/full 2>/dev/null; }
full_disk_both() { program /check /json >/dev/full 2>/dev/full; }
broken_pipe() (
  trap '' PIPE
  program --help 2>/dev/null | true
  exit "${PIPESTATUS[0]}"
)
lost "--version on a full disk" full_disk
lost "/check /json on a full disk, stderr full too" full_disk_both
lost "--help into a pipe whose reader has gone" broken_pipe
exit 0
