#!/usr/bin/env bash
# Runs a Windows program under Wine, in a prefix of its own, on a virtual X display when
# there is no display: wine needs one for windows. A 32-bit program runs in a 32-bit
# prefix under Debian's 32-bit Wine (scripts/wine32-setup.sh), a 64-bit one under wine64.
#   run_under_wine.sh PROGRAM.exe [ARGUMENTS...]
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
if [ "$("$here/../e2e/pe_machine.sh" "$1")" = i386 ]; then
  wine=/usr/lib/wine/wine
  export WINEARCH=win32
  missing="32-bit Wine does not run here (scripts/wine32-setup.sh)"
else
  wine=$(command -v wine64 || true)
  [ -n "$wine" ] || wine=/usr/lib/wine/wine64
  export WINEARCH=win64
  missing="wine64 is not installed (apt-get install wine64)"
fi
if ! "$wine" --version >/dev/null 2>&1; then
  echo "$missing" >&2
  exit 1
fi

export WINEPREFIX="${BELVOSTA_WINEPREFIX:-${WINEPREFIX:-/tmp/belvosta-wine}}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# Under the 32-bit emulator the debugger Wine starts at a crash cannot attach and waits
# for ever; without it the crashed process just ends.
[ "$WINEARCH" = win32 ] && WINEDLLOVERRIDES+=";winedbg.exe=d"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  # Under the 32-bit emulator the boot's desktop process can die at its first X request
  # and leave the boot waiting for ever: it boots without a display.
  if [ "$WINEARCH" = win32 ]; then
    DISPLAY="" "$wine" wineboot -i >/dev/null 2>&1 || true
  else
    "$wine" wineboot -i >/dev/null 2>&1 || true
  fi
  # Without a window manager (Xvfb), Wine waits for one on every hidden window unless
  # it manages the windows itself.
  "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
  wineserver -w || true
fi

if [ -n "${DISPLAY:-}" ]; then
  exec "$wine" "$@"
fi
exec xvfb-run -a -s "-screen 0 1024x768x24" "$wine" "$@"
