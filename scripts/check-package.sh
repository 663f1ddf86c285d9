#!/usr/bin/env bash
# Checks the Linux packages of a release (the .deb and the .tar.gz that scripts/release.sh
# puts in dist/, from the optimised release-linux build; made first when DIST holds none):
# the program, its menu entry (desktop-file-validate), icons, manual pages, copyright and
# changelog are inside, in the usual places; lintian finds no error and no warning; man
# renders both manual pages without a complaint; the .deb's version, the zips' names and
# the program's --version agree. With --install (CI, as root) it also installs the .deb with
# dpkg -i, starts the installed program without a screen, removes the package with dpkg -r
# and checks that nothing of it is left.
#   scripts/check-package.sh [--install] [DIST]     (DIST: default dist/)
set -euo pipefail
cd "$(dirname "$0")/.."
install=0
[ "${1:-}" = "--install" ] && { install=1; shift; }
dist=${1:-dist}
scripts/install-deps.sh build package

if ! compgen -G "$dist/belvosta_*.deb" >/dev/null; then
  [ "$dist" = dist ] || { echo "check-package: $dist holds no .deb" >&2; exit 1; }
  scripts/release.sh
fi
deb=$(echo "$dist"/belvosta_*.deb)
tgz=$(echo "$dist"/belvosta-*-linux-*.tar.gz)
if [ ! -f "$deb" ] || [ ! -f "$tgz" ]; then
  echo "check-package: $dist holds no single .deb and .tar.gz" >&2
  exit 1
fi

installed=(usr/bin/belvosta usr/share/applications/belvosta.desktop
           usr/share/icons/hicolor/16x16/apps/belvosta.png
           usr/share/icons/hicolor/32x32/apps/belvosta.png
           usr/share/icons/hicolor/48x48/apps/belvosta.png
           usr/share/man/man1/belvosta.1.gz usr/share/man/de/man1/belvosta.1.gz
           usr/share/doc/belvosta/copyright usr/share/doc/belvosta/changelog.gz)
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked/deb"
mkdir "$unpacked/tgz"
tar -xzf "$tgz" -C "$unpacked/tgz" --strip-components=1
for file in "${installed[@]}"; do
  [ -s "$unpacked/deb/$file" ] || { echo "check-package: the .deb lacks /$file" >&2; exit 1; }
  [ -s "$unpacked/tgz/${file#usr/}" ] || { echo "check-package: the .tar.gz lacks ${file#usr/}" >&2; exit 1; }
done
desktop-file-validate "$unpacked/deb/usr/share/applications/belvosta.desktop"
echo "check-package: $(basename "$deb") and $(basename "$tgz") hold the program, its menu entry,"\
     "icons, manual pages, copyright and changelog"

# lintian as a Debian developer runs it; any E: or W: line fails.
status=0
findings=$(lintian --fail-on error,warning "$deb" 2>&1) || status=$?
grep -v "running with root privileges" <<<"$findings" || true
[ "$status" -eq 0 ] || { echo "check-package: lintian failed (status $status)" >&2; exit 1; }
echo "check-package: lintian reports no error and no warning"

for page in man/man1 man/de/man1; do
  file=$unpacked/deb/usr/share/$page/belvosta.1.gz
  complaints=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$file" 2>&1 >"$unpacked/page.txt")
  if [ -n "$complaints" ] || ! grep -q -- "--check" "$unpacked/page.txt"; then
    echo "check-package: man -l /usr/share/$page/belvosta.1.gz: ${complaints:-no text}" >&2
    exit 1
  fi
done
echo "check-package: man -l renders both manual pages"

version=$(dpkg-deb -f "$deb" Version)
said=$("$unpacked/deb/usr/bin/belvosta" --version)
for zip in "$dist/belvosta-$version-win32.zip" "$dist/belvosta-$version-win64.zip"; do
  [ -f "$zip" ] || { echo "check-package: $dist lacks $(basename "$zip")" >&2; exit 1; }
done
if [ "$said" != "Belvosta $version" ]; then
  echo "check-package: the .deb is version $version, its program says \"$said\"" >&2
  exit 1
fi
echo "check-package: the .deb, the zips and --version all say $version"

[ "$install" = 1 ] || exit 0
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
if dpkg-query -W -f='${Status}' belvosta 2>/dev/null | grep -q "install ok installed"; then
  echo "check-package: belvosta is installed already; not touching it" >&2
  exit 1
fi
$SUDO dpkg -i "$deb"
for file in "${installed[@]}"; do
  [ -s "/$file" ] || { echo "check-package: dpkg -i did not install /$file" >&2; exit 1; }
done
status=0
message=$(env -u DISPLAY belvosta 2>&1) || status=$?
if [ "$status" -ne 1 ] || [[ $message != "belvosta: Kein Bildschirm erreichbar"* ]]; then
  echo "check-package: the installed program said \"$message\" (status $status)" >&2
  exit 1
fi
$SUDO dpkg -r belvosta
for file in "${installed[@]}"; do
  [ ! -e "/$file" ] || { echo "check-package: dpkg -r left /$file" >&2; exit 1; }
done
echo "check-package: dpkg -i installed it, the program started, dpkg -r removed every file"
