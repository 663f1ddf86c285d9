#!/usr/bin/env bash
# Runs test programs that use the X display again and again with the pointer parked at
# several places of one virtual display (off every window, and over the middle of the
# screen, where the windows come up over their controls), with a busy loop beside them:
# a test whose outcome depends on where the pointer is, or on the machine's load, shows
# here. One line per place and program; status 1 when any run failed (its output is kept
# beside the program as pointer_places-PROGRAM-X,Y-RUN.log).
#   RUNS=10 tests/teardown/pointer_places.sh build/asan/belvosta_fltk_teardown_test ...
# Needs Xvfb, xdpyinfo and xdotool.
set -u

runs=${RUNS:-10}
display=:${DISPLAY_NUMBER:-87}
# No reset when the last client leaves: a reset would put the pointer back in the middle.
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display
for ((wait = 0; wait < 100; wait++)); do
  xdpyinfo >/dev/null 2>&1 && break
  sleep 0.1
done
(while :; do :; done) &
busy=$!
trap 'kill $busy $xvfb 2>/dev/null' EXIT
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:abort_on_error=1}

status=0
for place in 1,1 1279,1023 640,512 600,470 700,560 520,420 760,600; do
  x=${place%,*} y=${place#*,}
  for program in "$@"; do
    failed=0
    for ((run = 0; run < runs; run++)); do
      xdotool mousemove "$x" "$y"
      if [ "$(xdotool getmouselocation | cut -d' ' -f1,2)" != "x:$x y:$y" ]; then
        echo "the pointer did not move to $place" >&2
        exit 2
      fi
      log="$(dirname "$program")/pointer_places-$(basename "$program")-$place-$run.log"
      if "$program" >"$log" 2>&1; then
        rm -f "$log"
      else
        failed=$((failed + 1))
      fi
    done
    echo "pointer at $place: $(basename "$program"): $((runs - failed))/$runs passed"
    [ "$failed" -eq 0 ] || status=1
  done
done
exit "$status"
