#!/usr/bin/env bash
# The Linux program's answers that scripts must be able to trust: a lost answer is status 3;
# a prefix that cannot be used is "nicht prüfbar" (status 3, the reason on stderr), never
# "fehlt"; a prefix at a long path, a low descriptor limit, a long host name and a folder
# mounted inside the prefix give the right answer.
#
#   tests/cli/command_line_trust.sh PROGRAM
set -euo pipefail

program=$1
work=$(mktemp -d /tmp/belvosta-trust.XXXXXX)
trap 'umount "$work/prefix/drive_c/windows/system32/mnt" 2>/dev/null || true; rm -rf "$work"' EXIT
unset DISPLAY WAYLAND_DISPLAY

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
run() {
  status=0
  "$@" >"$work/out" 2>"$work/err" || status=$?
}
expect() {  # STATUS WHAT: the last run's status, and no component said missing unless 1
  [ "$status" = "$1" ] || fail "$2: status $status, expected $1 (stderr: $(cat "$work/err"))"
  if [ "$1" = 3 ] && grep -q ': fehlt' "$work/out"; then fail "$2 said missing: $(cat "$work/out")"; fi
}

# A complete prefix: every component's files in place.
make_prefix() {
  local system=$1/drive_c/windows/system32
  mkdir -p "$system/Macromed/Flash" "$1/drive_c/Program Files/Internet Explorer"
  touch "$system/Macromed/Flash/Flash10e.ocx" "$system/MSCOMCTL.OCX" "$system/RICHTX32.OCX" \
    "$system/MSFLXGRD.OCX" "$system/mshtml.tlb" "$system/STDOLE2.TLB" "$system/shdocvw.dll" \
    "$system/wmp.dll" "$1/drive_c/Program Files/Internet Explorer/iexplore.exe"
}
make_prefix "$work/prefix"
export WINEPREFIX=$work/prefix

# --- lost output: every way of losing it is status 3
for options in "--version" "--check --json"; do
  read -ra args <<<"$options"
  status=0; "$program" "${args[@]}" >/dev/full 2>/dev/null || status=$?
  [ "$status" = 3 ] || fail "$options >/dev/full: status $status"
  status=0; "$program" "${args[@]}" >&- 2>/dev/null || status=$?
  [ "$status" = 3 ] || fail "$options with stdout closed: status $status"
done
status=0; "$program" --version >/dev/full 2>&- || status=$?
[ "$status" = 3 ] || fail "--version with stdout full and stderr closed: status $status"
python3 - "$program" "$work/trace" <<'PY' || fail "lost output through pipes"
import os, subprocess, sys
program = sys.argv[1]
# A reader that has gone, SIGPIPE ignored (inherited from this process).
read, write = os.pipe()
os.close(read)
done = subprocess.run([program, "--help"], stdout=write, stderr=subprocess.DEVNULL,
                      restore_signals=False, timeout=60)
assert done.returncode == 3, f"broken pipe: status {done.returncode}"
os.close(write)
# A non-blocking pipe that is full and stays full: nothing delivered, status 3.
read, write = os.pipe()
os.set_blocking(write, False)
try:
    while True:
        os.write(write, b"x" * 65536)
except BlockingIOError:
    pass
done = subprocess.run([program, "--help"], stdout=write, stderr=subprocess.DEVNULL, timeout=60)
assert done.returncode == 3, f"full non-blocking pipe: status {done.returncode}"
# Both streams on it and a prefix that cannot be used, so that several lines are lost: the
# run waits for the pipe once (counted under strace where it can trace), not once a line.
trace = ["strace", "-f", "-qq", "-e", "trace=poll,ppoll", "-o", sys.argv[2]]
if subprocess.run(trace + ["true"], capture_output=True).returncode != 0:
    trace = []
# (The leak checker of a sanitizer build does not run under a tracer.)
asan = os.environ.get("ASAN_OPTIONS", "")
done = subprocess.run(trace + [program, "--check"], stdout=write, stderr=write, timeout=60,
                      env=dict(os.environ, WINEPREFIX="/nonexistent",
                               ASAN_OPTIONS=(asan + ":" if asan else "") + "detect_leaks=0"))
assert done.returncode == 3, f"full non-blocking pipe, both streams: status {done.returncode}"
if trace:
    waits = sum("Timeout" in line for line in open(sys.argv[2]))
    assert waits == 1, f"full non-blocking pipe, both streams: {waits} waits ran out"
PY

# --- could not check: the prefix, or HOME where the prefix comes from
touch "$work/file"
mkfifo "$work/fifo"
python3 -c 'import socket,sys; socket.socket(socket.AF_UNIX).bind(sys.argv[1])' "$work/socket"
mkdir -p "$work/empty"
ln -s "$work/nowhere" "$work/dangling"
for prefix in /nonexistent "$work/file" "$work/fifo" "$work/socket" "$work/empty" \
  "$work/dangling" /dev/null relative/prefix; do
  run env WINEPREFIX="$prefix" "$program" --check
  expect 3 "WINEPREFIX=$prefix"
  [ "$(grep -c ': nicht prüfbar (' "$work/out")" = 5 ] || fail "WINEPREFIX=$prefix: $(cat "$work/out")"
  grep -q 'aus WINEPREFIX' "$work/err" || fail "WINEPREFIX=$prefix: stderr $(cat "$work/err")"
done
run env WINEPREFIX="$work/prefix" "$program" --check --report
expect 0 "the complete prefix"
for home in "" / "$work/file"; do
  run env -u WINEPREFIX HOME="$home" "$program" --check
  expect 3 "HOME=$home"
done
run env -u WINEPREFIX HOME="$work/file" "$program" --check --json
grep -q 'aus HOME' "$work/err" || fail "HOME as a file: stderr $(cat "$work/err")"
python3 - "$work/out" <<'PY' || fail "HOME as a file: the JSON says otherwise"
import json, sys
components = json.load(open(sys.argv[1]))["components"]
assert all(c["status"] == "unchecked" and c["reason"] for c in components), components
PY
if [ "$(id -u)" != 0 ]; then  # root reads any folder
  chmod 000 "$work/prefix/drive_c/windows/system32"
  run "$program" --check
  expect 3 "an unreadable system32"
  chmod 755 "$work/prefix/drive_c/windows/system32"
fi

# --- a complete prefix at a path of more than 487 bytes, and at one past the system's limit
long=$work/$(head -c240 /dev/zero | tr '\0' a)/$(head -c240 /dev/zero | tr '\0' b)
make_prefix "$long"
run env WINEPREFIX="$long" "$program" --check
expect 0 "a prefix at a long path"
# Built and changed a folder at a time: the shell's tools take no path that long.
name=$(head -c200 /dev/zero | tr '\0' c)
in_deep() { (cd "$work" && for _ in $(seq 22); do mkdir -p "$name" && cd "$name"; done && "$@"); }
deepest=$work
for _ in $(seq 22); do deepest=$deepest/$name; done
in_deep make_prefix .
run env WINEPREFIX="$deepest" "$program" --check
expect 0 "a prefix past the path limit (${#deepest} bytes)"
in_deep rm -r drive_c/windows
run env WINEPREFIX="$deepest" "$program" --check
expect 3 "a prefix past the path limit without its Windows folder"
grep -q 'aus WINEPREFIX: "drive_c/windows/system32" fehlt$' "$work/err" ||
  fail "the deep prefix's system folder: $(cut -c1-300 "$work/err")"
# An error line names a path by its first 100 characters, however long it is.
run env -u WINEPREFIX HOME="/nonexistent/$(head -c100000 /dev/zero | tr '\0' h)" "$program" --check
expect 3 "a 100 KB HOME"
[ "$(wc -L <"$work/err")" -lt 300 ] || fail "a 100 KB HOME: $(wc -L <"$work/err") characters of error"
grep -q '\.\.\." aus HOME: fehlt$' "$work/err" || fail "a 100 KB HOME: $(cut -c1-300 "$work/err")"

# --- a descriptor limit: one component 30 folders deep
deep=$work/deep
make_prefix "$deep"
rm "$deep/drive_c/windows/system32/wmp.dll"
folder=$deep/drive_c/windows/system32
for i in $(seq 30); do folder=$folder/d$i; done
mkdir -p "$folder" && touch "$folder/wmp.dll"
for limit in 24 12; do
  run bash -c "ulimit -n $limit; WINEPREFIX='$deep' exec '$program' --check"
  expect 0 "ulimit -n $limit"
done

# --- a long host name (a namespace of its own; skipped where the machine refuses one)
if unshare -u true 2>/dev/null; then
  run unshare -u sh -c 'hostname belvosta-long-hostname && exec "$0" --report' "$program"
  expect 0 "a long host name"
  grep -q "^Computername: "$'\t\t'"belvosta-long-hostname$" "$work/out" ||
    fail "a long host name: $(grep Computername "$work/out")"
else
  echo "SKIP: long host name: no UTS namespace here"
fi

# --- a folder mounted inside system32 is not searched (as find -xdev)
outside=$work/outside
make_prefix "$outside"
rm "$work/prefix/drive_c/windows/system32/"*.* "$work/prefix/drive_c/windows/system32/Macromed" -rf
mkdir -p "$work/prefix/drive_c/windows/system32/mnt"
if unshare -m true 2>/dev/null; then
  run unshare -m sh -c 'mount --make-rprivate / && mount --bind "$1" "$2" && exec "$0" --check' \
    "$program" "$outside/drive_c/windows/system32" "$work/prefix/drive_c/windows/system32/mnt"
  expect 1 "a bind mount inside system32"
  [ "$(grep -c ': fehlt' "$work/out")" = 4 ] || fail "a bind mount: $(cat "$work/out")"
else
  echo "SKIP: bind mount: no mount namespace here"
fi

[ "$failures" = 0 ] && echo "command line, trusted answers: all passed"
exit $((failures > 0))
