#!/usr/bin/env bash
# Starts the real program where no X display is reachable: DISPLAY unset, naming a display
# no server holds, and holding terminal control characters. Each time it must end with
# status 1, print nothing on stdout and one German line on stderr that says so and how to
# run it, without the toolkit's own message and without passing control characters on.
# Then the advice of that line is followed: xvfb-run -a shows the main window every time.
#
# Usage: no_screen.sh <path to belvosta>
set -u

program=${1:?usage: no_screen.sh <path to belvosta>}
failures=0

check() {
  local label=$1
  shift
  local out err status
  out=$(mktemp)
  err=$(mktemp)
  env "$@" "$program" >"$out" 2>"$err"
  status=$?
  local problems=()
  ((status == 1)) || problems+=("status $status, expected 1")
  [[ -s $out ]] && problems+=("printed on stdout: $(head -c 200 "$out")")
  (($(wc -l <"$err") == 1)) || problems+=("$(wc -l <"$err") lines on stderr, expected 1")
  grep -q "^belvosta: Kein Bildschirm erreichbar (.*)\. .* xvfb-run -a .*belvosta\$" "$err" ||
    problems+=("not the German line")
  grep -qi "open display" "$err" && problems+=("the toolkit's own message")
  LC_ALL=C grep -q $'[\x01-\x1f\x7f]' "$err" && problems+=("control characters reached stderr")
  if ((${#problems[@]} == 0)); then
    echo "no_screen: $label: $(cat "$err")"
  else
    echo "no_screen: FAIL $label: ${problems[*]}"
    sed 's/^/  | /' "$err"
    failures=$((failures + 1))
  fi
  rm -f "$out" "$err"
}

# A display number with neither a socket nor a lock file.
free=59
while [[ -e /tmp/.X11-unix/X$free || -e /tmp/.X$free-lock ]]; do free=$((free + 1)); done

# Leak checks stay on: the program must end without leaving anything behind.
check "DISPLAY unset" -u DISPLAY -u WAYLAND_DISPLAY
check "DISPLAY empty" DISPLAY=
check "DISPLAY=:$free (no server)" DISPLAY=":$free"
check "DISPLAY with control characters" DISPLAY=$'\e[2J\e]0;x\a:'"$free"

# The advice works: under xvfb-run (an X server that resets when its last client leaves)
# the main window appears, start after start (a program that lets go of the server before
# the toolkit connects is refused about one start in five).
if ! command -v xvfb-run >/dev/null || ! command -v xdotool >/dev/null; then
  echo "no_screen: FAIL xvfb-run and xdotool are needed"
  exit 1
fi
for start in {1..10}; do
  # shellcheck disable=SC2016  # expanded by the inner shell
  found=$(ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" timeout 60 xvfb-run -a \
    sh -c '"$1" & for _ in $(seq 100); do
             xdotool search --onlyvisible --name "^Belvosta: Dorvane\$" && break; sleep 0.1
           done; kill $!' sh "$program" 2>&1)
  if ! grep -qx '[0-9]\+' <<<"$found"; then
    echo "no_screen: FAIL under xvfb-run, start $start: no main window"
    printf '  | %s\n' "$found"
    failures=$((failures + 1))
    break
  fi
done
((failures == 0)) && echo "no_screen: the main window appeared in ten starts under xvfb-run"

((failures == 0)) && echo "no_screen: PASS" || exit 1
