#!/usr/bin/env bash
# Runs a 64-bit Windows program under wine64, in a prefix of its own, on a virtual X
# display when there is no display: wine needs one for windows.
#   run_under_wine.sh PROGRAM.exe [ARGUMENTS...]
set -euo pipefail

wine=$(command -v wine64 || true)
[ -n "$wine" ] || wine=/usr/lib/wine/wine64
if [ ! -x "$wine" ]; then
  echo "wine64 is not installed (apt-get install wine64)" >&2
  exit 1
fi

export WINEPREFIX="${BELVOSTA_WINEPREFIX:-${WINEPREFIX:-/tmp/belvosta-wine}}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  "$wine" wineboot -i >/dev/null 2>&1 || true
  # Without a window manager (Xvfb), Wine waits for one on every hidden window unless
  # it manages the windows itself.
  "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
  wineserver -w || true
fi

if [ -n "${DISPLAY:-}" ]; then
  exec "$wine" "$@"
fi
exec xvfb-run -a -s "-screen 0 1024x768x24" "$wine" "$@"
