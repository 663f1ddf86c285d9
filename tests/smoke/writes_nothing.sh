#!/usr/bin/env bash
# shellcheck disable=SC2317  # the checks run indirectly, through wait_for and trap
# Proves that the real Linux program writes nothing. Under strace, on a virtual X display:
#   - a full run in a fresh, empty home folder: the system folders window, a full scan
#     with every component present (every box answered, the speed test accepted), the
#     computer window and a tool tip in it, Exit;
#   - a start, a hover and Exit with HOME unset, empty, missing, read-only and another
#     user's, and with damaged toolkit preference files in the home folder.
# Fails on any call that would create, open for writing, truncate, rename, link, delete or
# change the mode, owner or times of a path, made or merely tried, and on any look at a
# toolkit preference file (one never read cannot change anything).
#
# Usage: writes_nothing.sh <path to belvosta>
# Needs Xvfb, xdotool, strace and flock. Exits 0 when every run passed.
set -u

program=${1:?usage: writes_nothing.sh <path to belvosta>}

name=writes_nothing
# shellcheck source=tests/smoke/xvfb_lib.sh
source "$(dirname "$0")/xvfb_lib.sh"

need_tools Xvfb xdotool strace flock
[[ -x $program ]] || fail "no program at $program"
start_display

# Every component in a Wine prefix of its own, so the scan runs through all five checks.
prefix=$work/prefix
for file in windows/system32/Macromed/Flash/Flash10a.ocx windows/system32/MSCOMCTL.OCX \
  windows/system32/RICHTX32.OCX windows/system32/MSFLXGRD.OCX windows/system32/MSHTML.TLB \
  windows/system32/stdole2.tlb windows/system32/SHDOCVW.DLL windows/system32/wmp.dll \
  "Program Files/Internet Explorer/IEXPLORE.EXE"; do
  mkdir -p "$(dirname "$prefix/drive_c/$file")"
  : >"$prefix/drive_c/$file"
done
mkdir -p "$prefix/dosdevices"
ln -s ../drive_c "$prefix/dosdevices/c:"
# A page opened by mistake reaches this stand-in, never a browser.
mkdir -p "$work/bin"
printf '#!/bin/sh\necho "$@" >>"%s/opened"\n' "$work" >"$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"

# Every write-class call on a path, as strace names them.
traced=creat,open,openat,openat2,mkdir,mkdirat,rename,renameat,renameat2,unlink,unlinkat,rmdir
traced+=,chmod,fchmodat,chown,lchown,fchownat,truncate,link,linkat,symlink,symlinkat,mknod
traced+=,mknodat,utime,utimes,utimensat,futimesat,setxattr,lsetxattr,removexattr,lremovexattr

# Starts the program under strace with the given environment changes (env's arguments).
launch() {
  : >"$work/program.log"
  env "$@" PATH="$work/bin:$PATH" WINEPREFIX="$prefix" \
    ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" \
    strace -f -qq -e signal=none -o "$work/trace" -e trace="$traced" "$program" >"$work/program.log" 2>&1 &
  app_pid=$!
}

visible() { xdotool search --onlyvisible --name '' 2>/dev/null | grep -qx "$1"; }

# The calls of the last run that write, or look at a toolkit preference file.
check_trace() {
  local label=$1 writes
  writes=$(awk '
    /fltk\.prefs|\/\.fltk|\/etc\/fltk/ { print; next }
    /(^|[ \]])(open|openat|openat2)\(/ { if ($0 ~ /O_WRONLY|O_RDWR|O_CREAT|O_TRUNC|O_TMPFILE/) print; next }
    /(^|[ \]])[a-z0-9]+\(/ { print }
  ' "$work/trace")
  [[ -z $writes ]] || fail "$label: the program wrote (or tried to):
$writes"
  [[ -e $work/opened ]] && fail "$label: the program opened a page: $(cat "$work/opened")"
  say "$label: nothing written"
}

# The full run.
mkdir -p "$work/home"
chmod -R a-w "$prefix"
launch HOME="$work/home"
wait_main_window "full run"
win_x=$X
win_y=$Y

show_folders_window "$win_x" "$win_y"
close_folders_window
say "the system folders window opened and closed"

# The full scan: each box is answered with Enter (OK, or "Ja" to the speed test); a box
# of a failed check would mean the prefix above is not what the checks look for.
xdotool mousemove $((win_x + 284)) $((win_y + 37)) click 1
boxes='^(Belvosta |Ihre Computer Hardware testen!|Rechnerdaten auslesen|Achtung.*)$'
answered=0
form3=""
for ((tick = 0; tick < 600; tick++)); do
  app_running || fail "the program ended during the full scan"
  box=$(find_window "$boxes") || box=""
  if [[ -n $box ]]; then
    box_title=$(xdotool getwindowname "$box")
    [[ $box_title == Achtung* ]] && fail "a check failed: \"$box_title\""
    eval "$(xdotool getwindowgeometry --shell "$box")"
    xdotool mousemove $((X + 4)) $((Y + 4)) key Return
    box_gone() { ! visible "$box"; }
    wait_for 10 box_gone || fail "Enter did not close the box \"$box_title\""
    answered=$((answered + 1))
    continue
  fi
  if ((answered >= 9)) && form3=$(find_window "^Ihre Prozessordaten:\$"); then break; fi
  sleep 0.1
done
[[ -n $form3 ]] || fail "no computer window after the full scan ($answered boxes answered)"
say "full scan: $answered boxes answered, the computer window is shown"

# Its caption "Die Rechner Daten auslesen !" (Label1) shows a tool tip under a resting
# mouse: a window more on the screen.
shown_windows() { xdotool search --onlyvisible --name '' 2>/dev/null | wc -l; }
before=$(shown_windows)
eval "$(xdotool getwindowgeometry --shell "$form3")"
xdotool mousemove $((X + 140)) $((Y + 38)) sleep 0.2 mousemove $((X + 142)) $((Y + 39))
tip_shown() { (($(shown_windows) > before)); }
wait_for 5 tip_shown || fail "no tool tip over the computer window's caption"
say "a tool tip appeared"
exit_program "$main"
check_trace "full run"

# Starts with other homes: the window, the focus box, a hover over the link, Exit.
other_user_home() {
  if (($(id -u) == 0)); then
    mkdir -p "$work/other"
    write_damaged_toolkit_preferences "$work/other"
    chown -R nobody "$work/other" && chmod -R go-rwx "$work/other"
    echo "$work/other"
  else
    getent passwd root | cut -d: -f6
  fi
}
mkdir -p "$work/readonly" "$work/damaged"
write_damaged_toolkit_preferences "$work/readonly"
write_damaged_toolkit_preferences "$work/damaged"
chmod -R a-w "$work/readonly"
variants=("HOME unset|-u HOME" "HOME empty|HOME=" "HOME missing|HOME=$work/no/such/home"
  "HOME read-only|HOME=$work/readonly" "HOME another user's|HOME=$(other_user_home)"
  "damaged toolkit preferences|HOME=$work/damaged")
for variant in "${variants[@]}"; do
  label=${variant%%|*}
  read -r -a settings <<<"${variant#*|}"
  launch "${settings[@]}"
  wait_main_window "$label"
  xdotool mousemove $((X + 284)) $((Y + 37))
  sleep 1
  exit_program "$main"
  check_trace "$label"
done
[[ -e $work/no ]] && fail "the missing home folder was created"

say "PASS: a full run and six homes, nothing written"
exit 0
