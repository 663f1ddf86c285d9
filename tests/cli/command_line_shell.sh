#!/usr/bin/env bash
# The Linux program on the command line, run from a shell with no display at all: the
# check on a Wine prefix with files missing and with everything present, the JSON, the
# report, the help, the version and an unknown option.
#
#   tests/cli/command_line_shell.sh PROGRAM VERSION
set -euo pipefail

program=$1
version=$2
work=$(mktemp -d /tmp/belvosta-cli.XXXXXX)
trap 'rm -rf "$work"' EXIT

# No screen of any kind: the command line must not need one.
unset DISPLAY WAYLAND_DISPLAY
export WINEPREFIX=$work/prefix
system=$WINEPREFIX/drive_c/windows/system32
mkdir -p "$system/Macromed/Flash" "$WINEPREFIX/drive_c/Program Files"
touch "$system/Macromed/Flash/Flash10e.ocx" "$system/MSCOMCTL.OCX" "$system/mshtml.tlb" \
  "$system/STDOLE2.TLB" "$system/shdocvw.dll"

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
# Runs the program; its output lands in $work/out and $work/err, its status in $status.
run() {
  status=0
  "$program" "$@" >"$work/out" 2>"$work/err" || status=$?
}
expect_status() {
  [ "$status" = "$1" ] || fail "$2: status $status, expected $1 (stderr: $(cat "$work/err"))"
}

run --check
expect_status 1 "--check with files missing"
expected="Flash Player: OK ($system/Macromed/Flash/Flash10e.ocx)
Visual-Basic Runtime-Dateien: fehlt (RICHTX32.OCX, MSFLXGRD.OCX)
Windows Service-Pack Dateien: OK
Internet-Explorer: fehlt (IEXPLORE.EXE)
Media Player Steuerelement: fehlt (wmp.dll)"
[ "$(cat "$work/out")" = "$expected" ] || fail "--check printed:
$(cat "$work/out")"
[ ! -s "$work/err" ] || fail "--check wrote to stderr: $(cat "$work/err")"

run --check --json
expect_status 1 "--check --json with files missing"
python3 - "$work/out" <<'PY' || fail "--check --json: the document is not as expected"
import json, sys
document = json.load(open(sys.argv[1], encoding="utf-8"))
for key in ("schema_version", "program", "version", "components", "all_present", "report",
            "clock_hz", "clock_text", "verdict"):
    assert key in document, key
assert document["all_present"] is False
assert [c["present"] for c in document["components"]] == [True, False, True, False, False]
assert document["components"][1]["missing_files"] == ["RICHTX32.OCX", "MSFLXGRD.OCX"]
assert document["report"] is None
PY

mkdir -p "$WINEPREFIX/drive_c/Program Files/Internet Explorer"
touch "$system/RICHTX32.OCX" "$system/MSFLXGRD.OCX" "$system/wmp.dll" \
  "$WINEPREFIX/drive_c/Program Files/Internet Explorer/iexplore.exe"
run --check
expect_status 0 "--check with everything present"
[ "$(grep -c ': OK' "$work/out")" = 5 ] || fail "--check, all present, printed: $(cat "$work/out")"

run --report
expect_status 0 "--report"
grep -q '^Arbeitsspeicher: '$'\t\t''[0-9]* MB$' "$work/out" || fail "--report: no memory line"
grep -q '^Prozessor Geschwindigkeit: ' "$work/out" || fail "--report: no clock line"

run --check --report --json
expect_status 0 "--check --report --json"
python3 -m json.tool "$work/out" >/dev/null || fail "--check --report --json: not JSON"

run --help
expect_status 0 "--help"
grep -q -- '--check' "$work/out" || fail "--help does not name --check"

run --version
expect_status 0 "--version"
[ "$(cat "$work/out")" = "Belvosta $version" ] || fail "--version printed: $(cat "$work/out")"

run --check --bogus
expect_status 2 "an unknown option"
[ "$(wc -l <"$work/err")" = 1 ] && grep -q -- '--bogus' "$work/err" ||
  fail "an unknown option: stderr $(cat "$work/err")"
[ ! -s "$work/out" ] || fail "an unknown option printed: $(cat "$work/out")"

[ "$failures" = 0 ] && echo "command line: all passed"
exit $((failures > 0))
