#!/usr/bin/env bash
# shellcheck disable=SC2317  # the checks run indirectly, through wait_for and trap
# Runs the real program in a virtual X display (no window manager), with a damaged toolkit
# preference file in its home folder, and checks what a user would see first: the main
# window appears with its designed client size, the full-scan link lights up under the
# mouse, clicking the busy picture opens the hint box and OK closes it, Tab reaches the
# hidden button that shows the system folders window, and Exit ends the program cleanly.
#
# Usage: xvfb_smoke.sh <path to belvosta> [folder for the screenshot]
# Needs Xvfb, xdotool and ImageMagick (import, convert). Exits 0 when every check passed.
set -u

program=${1:?usage: xvfb_smoke.sh <path to belvosta> [screenshot folder]}
shots=${2:-$(dirname "$program")}
screenshot="$shots/smoke-main-window.png"
# The client area at 96 DPI: 8520 x 4500 twips at 15 twips per pixel.
want_width=568
want_height=300

name=smoke
# shellcheck source=tests/smoke/xvfb_lib.sh
source "$(dirname "$0")/xvfb_lib.sh"

need_tools Xvfb xdotool import convert flock
[[ -x $program ]] || fail "no program at $program"
mkdir -p "$shots" || fail "cannot create $shots"

start_display

# The user's toolkit preference file is damaged: the program must not even read it.
# Under AddressSanitizer, X11 and FLTK keep allocations until exit on purpose.
write_damaged_toolkit_preferences "$work/home"
HOME=$work/home ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" \
  "$program" >"$work/program.log" 2>&1 &
app_pid=$!

wait_main_window "start"
say "main window $main appeared"
if ((WIDTH != want_width || HEIGHT != want_height)); then
  fail "main window is ${WIDTH}x${HEIGHT}, expected ${want_width}x${want_height}"
fi
say "main window is ${WIDTH}x${HEIGHT} at $X,$Y"
win_x=$X
win_y=$Y

# The window is mapped before it is painted: take screenshots until one shows a picture
# rather than a plain area.
painted() {
  import -window root -crop "${WIDTH}x${HEIGHT}+${win_x}+${win_y}" +repage "$screenshot" 2>/dev/null &&
    (($(convert "$screenshot" -format %k info: 2>/dev/null || echo 0) > 16))
}
wait_for 10 painted || fail "the main window was not painted"
say "screenshot in $screenshot"

# The full-scan link (in the banner, 32..537 x 25..50 px) turns blue under the mouse and
# black again over the free area of its frame: compare how blue its area is.
blueness() {
  import -window root -crop "505x25+$((win_x + 32))+$((win_y + 25))" +repage "$work/link.png" &&
    convert "$work/link.png" -format '%[fx:mean.b-mean.r]' info:
}
xdotool mousemove $((win_x + 284)) $((win_y + 14))
sleep 0.3
black=$(blueness) || fail "cannot take a screenshot of the link"
xdotool mousemove $((win_x + 284)) $((win_y + 37))
lit() { awk -v a="$(blueness)" -v b="$black" 'BEGIN { exit !(a - b > 0.02) }'; }
wait_for 5 lit || fail "the full-scan link did not turn blue under the mouse"
say "the full-scan link lights up under the mouse"

# The busy picture (7200, 3240 twips; 555 x 525) answers a click with the hint box.
xdotool mousemove $((win_x + 498)) $((win_y + 233)) click 1
box=""
box_shown() {
  app_running || fail "the program ended after a click on the busy picture"
  box=$(find_window "^Belvosta \$")
}
wait_for 10 box_shown || fail "no hint box after a click on the busy picture"
say "hint box $box appeared"

# Its OK button sits centred at the bottom of the box.
eval "$(xdotool getwindowgeometry --shell "$box")"
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT - 22)) click 1
box_closed() { [[ -z $(find_window "^Belvosta \$") ]]; }
wait_for 10 box_closed || fail "the hint box stayed open after OK"
say "OK closed the hint box"

show_folders_window "$win_x" "$win_y"
say "the hidden button showed the system folders window"
close_folders_window
say "EXIT closed the system folders window"
exit_program "$main"

say "PASS: main window, hover, hint box, hidden button, system folders window and Exit"
exit 0
