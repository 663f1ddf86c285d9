#!/usr/bin/env bash
# Makes the Linux packages of the default build (cpack: a .deb and a .tar.gz) and checks
# them: the program, its menu entry (desktop-file-validate) and its icons are inside, in
# the usual places. With --install (CI, as root) it also installs the .deb with dpkg -i,
# starts the installed program without a screen, removes the package with dpkg -r and
# checks that nothing of it is left.
set -euo pipefail
cd "$(dirname "$0")/.."
install=0
[ "${1:-}" = "--install" ] && install=1
scripts/install-deps.sh build package

build=build/default
cmake --preset default >/dev/null
cmake --build --preset default -j"$(nproc)" --target belvosta belvosta_linux_icons
rm -rf "$build/package"
(cd "$build" && cpack >/dev/null)
deb=$(echo "$build"/package/belvosta_*.deb)
tgz=$(echo "$build"/package/belvosta-*.tar.gz)
if [ ! -f "$deb" ] || [ ! -f "$tgz" ]; then
  echo "check-package: cpack made no .deb or .tar.gz" >&2
  exit 1
fi

installed=(usr/bin/belvosta usr/share/applications/belvosta.desktop
           usr/share/icons/hicolor/16x16/apps/belvosta.png
           usr/share/icons/hicolor/32x32/apps/belvosta.png
           usr/share/icons/hicolor/48x48/apps/belvosta.png)
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
echo "check-package: $(basename "$deb") and $(basename "$tgz") hold the program, its menu entry and icons"

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
