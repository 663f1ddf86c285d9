#!/usr/bin/env bash
# Makes everything a user downloads, from a clean state, into dist/:
#   belvosta-VERSION-win32.zip           the product: belvosta.exe (32-bit) and LIESMICH.txt
#   belvosta-VERSION-win64.zip           the same for 64-bit Windows
#   belvosta_VERSION_amd64.deb           the Linux program, its menu entry, icons, manual page
#   belvosta-VERSION-linux-x86_64.tar.gz the same files, for any other Linux
#   SHA256SUMS                           their checksums, for sha256sum -c
# Each comes from an optimised release build without its tests (presets release-linux,
# release-win32, release-win64). The same commit gives the same bytes, whatever folder it is
# built in, whenever and by whom: the time stamps are the commit's (SOURCE_DATE_EPOCH, unless
# given), the build folders are mapped out of the binaries (BELVOSTA_REPRODUCIBLE), and the
# archives' files belong to root.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh build package windows

if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null) || {
    echo "release.sh: not a git checkout; set SOURCE_DATE_EPOCH to the source's time" >&2
    exit 2
  }
fi
export SOURCE_DATE_EPOCH
if [ -n "$(git status --porcelain --untracked-files=no 2>/dev/null)" ]; then
  echo "release.sh: the checkout has uncommitted changes; this release is not the commit's"
fi
# The same file modes, sort order and dates whoever runs it.
umask 022
export LC_ALL=C.UTF-8 TZ=UTC

presets=(release-linux release-win32 release-win64)
rm -rf dist "${presets[@]/#/build/}"
for preset in "${presets[@]}"; do
  echo "=== $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j"$(nproc)"
  # Under fakeroot every file in the archives belongs to root, whoever builds.
  (cd "build/$preset" && fakeroot cpack >/dev/null)
done

mkdir dist
cp build/release-linux/package/belvosta_*.deb build/release-linux/package/belvosta-*.tar.gz \
   build/release-win32/package/belvosta-*.zip build/release-win64/package/belvosta-*.zip dist/
(cd dist && sha256sum -- * > SHA256SUMS)
echo "=== dist/ (SOURCE_DATE_EPOCH=$SOURCE_DATE_EPOCH)"
(cd dist && stat -c '%10s  %n' -- *)
