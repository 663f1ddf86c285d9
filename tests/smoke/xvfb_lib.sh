# shellcheck shell=bash disable=SC2317  # functions run indirectly, through wait_for and trap
# Shared by the tests that run the real Linux program on a virtual X display: messages, a
# work folder removed at exit, polling, a display of our own, and finding windows.
# The sourcing script sets "name" (its prefix in messages) and may set "app_pid".

work=$(mktemp -d)
xvfb_pid=""
app_pid=""

say() { echo "${name:-xvfb}: $*"; }

cleanup() {
  [[ -n $app_pid ]] && kill "$app_pid" 2>/dev/null
  [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  chmod -R u+w "$work" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  say "FAIL: $*"
  local log
  for log in program xvfb; do
    if [[ -s $work/$log.log ]]; then
      say "$log output:"
      sed 's/^/  | /' "$work/$log.log"
    fi
  done
  exit 1
}

# Polls a command every 0.1 s until it succeeds or the seconds run out.
wait_for() {
  local seconds=$1
  shift
  local tries=$((seconds * 10))
  while ((tries-- > 0)); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

app_running() { kill -0 "$app_pid" 2>/dev/null; }

need_tools() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || fail "$tool is not installed"
  done
}

# A display of our own: a number no other server holds, owned by our Xvfb (its lock file
# names its pid), accepting clients. Runs choose one at a time (an X server that loses a
# race for a number removes the winner's socket as it quits), from numbers above the ones
# other tools count up from. A fixed 96 DPI makes the window's size predictable; -noreset
# keeps the server from restarting (and refusing clients) when our probe leaves.
xvfb_ready() {
  local display=$1 owner
  owner=$(tr -dc '0-9' 2>/dev/null <"/tmp/.X$display-lock")
  [[ $owner == "$xvfb_pid" ]] && DISPLAY=":$display" xdotool getmouselocation >/dev/null 2>&1
}

start_xvfb() {
  local display tries
  for _ in 1 2 3 4 5 6 7 8; do
    display=$((RANDOM % 9000 + 1000))
    [[ -e /tmp/.X$display-lock || -e /tmp/.X11-unix/X$display ]] && continue
    Xvfb ":$display" -screen 0 1024x768x24 -dpi 96 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for ((tries = 100; tries > 0; tries--)); do
      if xvfb_ready "$display"; then
        export DISPLAY=":$display"
        return 0
      fi
      kill -0 "$xvfb_pid" 2>/dev/null || break
      sleep 0.1
    done
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
    xvfb_pid=""
  done
  return 1
}

# Starts Xvfb under a lock shared by every run of these tests.
start_display() {
  exec 9>"${TMPDIR:-/tmp}/belvosta-smoke-xvfb.lock"
  flock -w 60 9 || fail "another smoke run holds the display lock"
  start_xvfb || fail "Xvfb did not start on any free display"
  flock -u 9
  say "Xvfb on display $DISPLAY"
}

# Prints the id of the first shown window whose title matches (a regular expression).
find_window() {
  local id
  id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)
  [[ -n $id ]] && echo "$id"
}

# Waits up to 20 s for the main window of the program (app_pid); sets "main" to its id and
# X, Y, WIDTH and HEIGHT to its place and size. The argument names the run in a failure.
wait_main_window() {
  main_window_shown() {
    app_running || fail "$1: the program ended before its window appeared"
    main=$(find_window "^Belvosta: Dorvane\$")
  }
  wait_for 20 main_window_shown "$1" || fail "$1: no main window within 20 s"
  eval "$(xdotool getwindowgeometry --shell "$main")"
}

# The main window's hidden button "FormS.Show " lies below its client area, 18 Tab stops
# after the first check button, which has the focus at start; space presses it and the
# system folders window appears (titled with the computer's name). Keys go to the window
# under the mouse. Arguments: the main window's position. Sets "folders" to the new id.
show_folders_window() {
  local keys=()
  xdotool mousemove $(($1 + 564)) $(($2 + 296))
  for _ in {1..18}; do keys+=(Tab); done
  xdotool key --delay 20 "${keys[@]}" space
  folders=""
  folders_shown() { folders=$(find_window "Rechner"); }
  wait_for 10 folders_shown || fail "Tab x18 and space did not show the system folders window"
}

# Its EXIT button (7680, 7320 twips; 735 x 375) unloads it.
close_folders_window() {
  eval "$(xdotool getwindowgeometry --shell "$folders")"
  xdotool mousemove $((X + 537)) $((Y + 500)) click 1
  folders_closed() { [[ -z $(find_window "Rechner") ]]; }
  wait_for 10 folders_closed || fail "EXIT did not close the system folders window"
}

# Exit (6600, 3960 twips; 1695 x 375) of the main window (its id the argument) ends the
# program at once, with status 0.
exit_program() {
  xdotool windowraise "$1"
  eval "$(xdotool getwindowgeometry --shell "$1")"
  xdotool mousemove $((X + 496)) $((Y + 276)) click 1
  app_ended() { ! app_running; }
  wait_for 20 app_ended || fail "the program still runs 20 s after Exit"
  local status=0
  wait "$app_pid" || status=$?
  app_pid=""
  ((status == 0)) || fail "the program ended with status $status after Exit"
}

# The toolkit preference files of a home folder, damaged as one was that stopped the
# program before its window appeared: 2,046 x 'Y', a line end, then '[' and 512 x '/a'.
# The options file, and the printing and file dialogues' files a shared toolkit library
# reads as it loads.
write_damaged_toolkit_preferences() {
  local folder=$1/.fltk/fltk.org file
  mkdir -p "$folder"
  for file in fltk printers filechooser; do
    {
      printf 'Y%.0s' $(seq 2046)
      printf '\n['
      printf '/a%.0s' $(seq 512)
      printf '\n'
    } >"$folder/$file.prefs"
  done
}
