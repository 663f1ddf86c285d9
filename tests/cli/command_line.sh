#!/usr/bin/env bash
# shellcheck disable=SC2317  # the cases run indirectly, through expect
# What only the real process shows on the command line: the exit status of each kind of
# answer (0 every component present, 1 one missing, 2 an unknown option, 3 could not check
# or the answer was lost: a full disk, a closed stdout, a reader that has gone) and, for
# the Linux program, a window start without a display that fails cleanly. What the answers
# say is tested in tests/behaviour. Prints one PASS or FAIL line per case.
#
#   tests/cli/command_line.sh PROGRAM
# The Linux program gets a Wine prefix of its own, holding what a fresh one holds. With
# BELVOSTA_RUNNER (the command that runs PROGRAM: wine64) the Windows program runs in the
# fresh prefix WINEPREFIX (tests/e2e/run.sh); both get the Flash Player and runtime files.
set -uo pipefail

program=$1
runner=${BELVOSTA_RUNNER:-}
work=$(mktemp -d /tmp/belvosta-cli.XXXXXX)
trap 'rm -rf "$work"' EXIT
unset DISPLAY WAYLAND_DISPLAY
failures=0

belvosta() { timeout 120 ${runner:+"$runner"} "$program" "$@"; }
# expect STATUS WHAT COMMAND...: the command's status; its output lands in $work/out, err.
expect() {
  local want=$1 what=$2 status=0
  shift 2
  "$@" >"$work/out" 2>"$work/err" || status=$?
  if [ "$status" = "$want" ]; then
    echo "PASS command line: $what, status $want"
  else
    echo "FAIL command line: $what: status $status, not $want; stderr: $(head -c 300 "$work/err")"
    failures=$((failures + 1))
  fi
}
# fail_unless WHAT CONDITION...: a further check of the last case.
fail_unless() {
  "${@:2}" || { echo "FAIL command line: $1" && failures=$((failures + 1)); }
}

if [ -z "$runner" ]; then
  export WINEPREFIX=$work/prefix
  mkdir -p "$WINEPREFIX/drive_c/windows/system32" "$WINEPREFIX/drive_c/Program Files/Internet Explorer"
  touch "$WINEPREFIX/drive_c/windows/system32/"{mshtml.tlb,STDOLE2.TLB,shdocvw.dll,wmp.dll} \
    "$WINEPREFIX/drive_c/Program Files/Internet Explorer/iexplore.exe"
fi
system=$WINEPREFIX/drive_c/windows/system32
mkdir -p "$system/Macromed/Flash"
: >"$system/Macromed/Flash/Flash10e.ocx"
expect 1 "--check with the runtime files missing" belvosta --check
fail_unless "--check printed $(wc -l <"$work/out") lines, not 5" [ "$(wc -l <"$work/out")" = 5 ]
touch "$system/"{MSCOMCTL,RICHTX32,MSFLXGRD}.OCX
expect 0 "--check with every component present" belvosta --check
expect 2 "an unknown option" belvosta --check --bogus
fail_unless "the unknown option is not named: $(cat "$work/err")" grep -q -- --bogus "$work/err"

full_disk() { belvosta --version >/dev/full; }
closed_stdout() { belvosta --check --json >&-; }
reader_gone() (
  trap '' PIPE
  belvosta --help | true
  exit "${PIPESTATUS[0]}"
)
expect 3 "--version on a full disk" full_disk
expect 3 "--check --json with stdout closed" closed_stdout
expect 3 "--help into a pipe whose reader has gone" reader_gone

if [ -z "$runner" ]; then
  expect 3 "--check in a prefix that is not there" env WINEPREFIX=/nonexistent "$program" --check
  fail_unless "a prefix that is not there: $(cat "$work/out")" \
    [ "$(grep -c ': nicht prüfbar (' "$work/out")" = 5 ]
  # Without a display, and with one no server holds named with terminal control characters:
  # one German line that says how to run the program, not the toolkit's message.
  free=59
  while [ -e /tmp/.X11-unix/X$free ] || [ -e /tmp/.X$free-lock ]; do free=$((free + 1)); done
  for display in "" ":$free" $'\e[2J\e]0;x\a:'"$free"; do
    expect 1 "a window start with DISPLAY=${display@Q}" env ${display:+"DISPLAY=$display"} "$program"
    fail_unless "no display: stdout $(cat "$work/out"), stderr $(cat -v "$work/err")" \
      test ! -s "$work/out" -a "$(wc -l <"$work/err")" = 1
    fail_unless "no display: not the German line" env LC_ALL=C grep -qx \
      "belvosta: Kein Bildschirm erreichbar ([^[:cntrl:]]*)\. [^[:cntrl:]]* xvfb-run -a [^[:cntrl:]]*belvosta" \
      "$work/err"
  done
  # The advice works: under xvfb-run -a (a server that resets when its last client leaves)
  # the main window appears start after start. A program that let go of the server before
  # the toolkit connected was refused about one start in five.
  for start in {1..10}; do
    # shellcheck disable=SC2016  # expanded by the inner shell
    found=$(ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" timeout 60 xvfb-run -a sh -c \
      '"$1" & for _ in $(seq 100); do
         xdotool search --onlyvisible --name "^Belvosta: Dorvane\$" && break; sleep 0.1
       done; kill $!' sh "$program" 2>&1)
    fail_unless "under xvfb-run, start $start: no main window: $found" grep -qx '[0-9]\+' <<<"$found"
  done
fi
exit $((failures > 0))
