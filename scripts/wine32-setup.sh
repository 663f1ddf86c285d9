#!/usr/bin/env bash
# Makes this machine run the 32-bit Windows program under Wine, and boots a 32-bit Wine
# prefix for it, whose path is the last line of the output:
#
#   prefix=$(scripts/wine32-setup.sh | tail -n 1)
#   WINEPREFIX=$prefix wine build/win32/belvosta.exe
#
#   scripts/wine32-setup.sh [PREFIX]     (default /tmp/belvosta-wine32; kept when booted)
#
# Debian's 32-bit Wine (wine32:i386) is a 32-bit Linux program. Where the kernel runs no
# 32-bit programs ("Exec format error"), qemu-i386 user-mode emulation runs it, registered
# with the kernel's binfmt_misc, and a small library preloaded into what it runs
# (tools/wine32/qemu_i386_fixes.c) gives Wine two kernel behaviours the emulator lacks.
# Needs root (or sudo) for the packages and binfmt_misc. Exits non-zero saying why when
# the machine cannot be made to run it.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
prefix=${1:-/tmp/belvosta-wine32}
lib=/usr/local/lib/belvosta-wine32
wine=/usr/lib/wine/wine

fail() {
  echo "wine32-setup.sh: $*" >&2
  exit 1
}

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"

scripts/install-deps.sh wine32

misc=/proc/sys/fs/binfmt_misc
# The kernel runs 32-bit programs by itself unless the loader fails, or the emulator was
# set up before (then it is set up again, so that a newer fixes library takes effect).
if [ -e "$misc/qemu-i386" ] || ! "$wine" --version >/dev/null 2>&1; then
  echo "Setting up qemu-i386 through binfmt_misc for 32-bit programs"
  if [ ! -e "$misc/register" ]; then
    $SUDO mount -t binfmt_misc binfmt_misc "$misc" ||
      fail "cannot mount binfmt_misc on $misc (it needs root, and a container may forbid it)"
  fi
  # The library under the C library's own name for each processor's folder ($LIB), so
  # that the 64-bit programs Wine starts (its server) find an empty one of their kind
  # instead of complaining about the 32-bit one.
  $SUDO mkdir -p "$lib/lib/i386-linux-gnu" "$lib/lib/x86_64-linux-gnu"
  $SUDO gcc -m32 -O2 -fPIC -ffreestanding -nostdlib -shared \
    -o "$lib/lib/i386-linux-gnu/qemu-i386-fixes.so" "$root/tools/wine32/qemu_i386_fixes.c" ||
    fail "cannot build tools/wine32/qemu_i386_fixes.c with gcc -m32"
  echo 'int belvosta_no_fixes_for_64_bit;' |
    $SUDO gcc -x c -shared -o "$lib/lib/x86_64-linux-gnu/qemu-i386-fixes.so" - ||
    fail "cannot build the empty 64-bit library"
  # The interpreter binfmt_misc starts: qemu-i386 with the library preloaded.
  printf '#!/bin/sh\nexec /usr/bin/qemu-i386-static -E '\''LD_PRELOAD=%s/$LIB/qemu-i386-fixes.so'\'' "$@"\n' \
    "$lib" | $SUDO tee "$lib/qemu-i386" >/dev/null
  $SUDO chmod 755 "$lib/qemu-i386"
  # ELF, 32-bit, little-endian, executable, Intel 80386; the same pattern as Debian's
  # entries for the other processors.
  magic='\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
  mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
  if [ -e "$misc/qemu-i386" ]; then
    echo -1 | $SUDO tee "$misc/qemu-i386" >/dev/null
  fi
  echo ":qemu-i386:M::$magic:$mask:$lib/qemu-i386:" | $SUDO tee "$misc/register" >/dev/null ||
    fail "binfmt_misc refused the qemu-i386 entry"
  "$wine" --version >/dev/null 2>&1 ||
    fail "$wine still does not run: $("$wine" --version 2>&1 | tail -n 1)"
fi

# The prefix: a 32-bit one, without the Mono and Gecko installers, with Wine managing its
# windows itself (an X server without a window manager would stall every hidden window).
if [ ! -f "$prefix/system.reg" ]; then
  echo "Booting the 32-bit Wine prefix $prefix (about a minute under the emulator)"
  rm -rf "$prefix"
  # No debugger at a crash: under the emulator it cannot attach and waits for ever.
  export WINEPREFIX=$prefix WINEARCH=win32 WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
  "$wine" wineboot -i >/dev/null 2>&1 || true
  "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
  /usr/lib/wine/wineserver -w || true
  [ -f "$prefix/system.reg" ] && [ -d "$prefix/drive_c/windows/system32" ] ||
    fail "wineboot did not make the prefix $prefix"
fi
echo "$prefix"
