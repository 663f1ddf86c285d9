#!/usr/bin/env bash
# The processor time the real Linux program uses from the click on "Gesamt suche  scan..."
# to the Flash Player box, on a Wine prefix whose system folder is empty: the walks are then
# next to nothing and what remains is the Flash check's four pauses (0.8 s) and the drawing.
# Read from /proc before the click and once the box shows (all threads, in nanoseconds from
# schedstat), beside the same for an idle second before the click.
#
#   bench/pause_cpu.sh [PROGRAM]   (default build/release/belvosta)
set -u
# shellcheck disable=SC2034,SC2154  # "name" and "work" are shared with xvfb_lib.sh

here=$(cd "$(dirname "$0")" && pwd)
program=${1:-$here/../build/release/belvosta}
name=pause_cpu
# shellcheck source=tests/smoke/xvfb_lib.sh
source "$here/../tests/smoke/xvfb_lib.sh"
need_tools Xvfb xdotool flock
[[ -x $program ]] || fail "no program at $program"
start_display

mkdir -p "$work/prefix/drive_c/windows/system32" "$work/prefix/drive_c/Program Files" "$work/home"
HOME=$work/home WINEPREFIX=$work/prefix "$program" >"$work/program.log" 2>&1 &
app_pid=$!
main_window_shown() { main=$(find_window "^Belvosta: Dorvane\$"); }
wait_for 10 main_window_shown || fail "the main window did not appear"
sleep 1

# Processor time of every thread of the program, in nanoseconds.
cpu_ns() {
  local total=0 ns _
  for task in /proc/"$app_pid"/task/*/schedstat; do
    read -r ns _ <"$task"
    total=$((total + ns))
  done
  echo "$total"
}
now() { date +%s%N; }

idle_start=$(cpu_ns)
sleep 1
idle=$(($(cpu_ns) - idle_start))

# "Gesamt suche  scan..." (Label12, in Picture9 in Frame3): its middle at 4267, 562 twips.
eval "$(xdotool getwindowgeometry --shell "$main")"
xdotool mousemove $((X + 284)) $((Y + 37))
sleep 0.3
before=$(cpu_ns)
clicked=$(now)
xdotool click 1
box_shown() { find_window "^Achtung: Flash Player ist nicht installiert! Wichtig!\$" >/dev/null; }
wait_for 20 box_shown || fail "no Flash Player box within 20 s"
shown=$(now)
used=$(($(cpu_ns) - before))
awk -v idle="$idle" -v wall=$((shown - clicked)) -v used="$used" 'BEGIN {
  printf "idle second: %.3f s of processor time\n", idle / 1e9
  printf "click to Flash Player box: %.3f s, %.3f s of processor time\n", wall / 1e9, used / 1e9
}'
