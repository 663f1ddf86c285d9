#!/usr/bin/env bash
# Makes everything a user downloads, from a clean state, into dist/:
#   belvosta-VERSION-win32.zip           the product: belvosta.exe (32-bit) and LIESMICH.txt
#   belvosta-VERSION-win32.msi           the same two files as a Windows Installer package,
#                                        for installing on many PCs (scripts/make-msi.sh)
#   belvosta-VERSION-win64.zip           the same for 64-bit Windows
#   belvosta_VERSION_amd64.deb           the Linux program, its menu entry, icons, manual page
#   belvosta-VERSION-linux-x86_64.tar.gz the same files, for any other Linux
#   SHA256SUMS                           their checksums, for sha256sum -c, and which of them
#                                        carry a signature
# Each comes from an optimised release build without its tests (presets release-linux,
# release-win32, release-win64). The same commit gives the same bytes, whatever folder it is
# built in, whenever and by whom: the time stamps are the commit's (SOURCE_DATE_EPOCH, unless
# given), the build folders are mapped out of the binaries (BELVOSTA_REPRODUCIBLE), and the
# archives' files belong to root.
#
# Both belvosta.exe and the MSI get an Authenticode signature (SHA-256):
#   - with the certificate the environment names (BELVOSTA_SIGN_PKCS12 and its password;
#     scripts/sign-windows.sh says how); without a time-stamp server the same certificate
#     gives the same bytes too;
#   - with --signatures-from DIR, the signatures of the signed release in DIR are put onto
#     this build's files, and the result is DIR's release byte for byte only if this source,
#     built here, is what was signed: how anyone checks a signed release against its source;
#   - with neither, the files stay unsigned, and it says so.
#
#   scripts/release.sh [--signatures-from DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
signatures_from=""
if [ "${1:-}" = "--signatures-from" ] && [ $# -eq 2 ]; then
  signatures_from=$(realpath "$2")
  [ -f "$signatures_from/SHA256SUMS" ] || {
    echo "release.sh: $2 holds no release (no SHA256SUMS)" >&2
    exit 2
  }
elif [ $# -ne 0 ]; then
  echo "usage: $0 [--signatures-from DIR]" >&2
  exit 2
fi
scripts/install-deps.sh build package windows installer

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

if [ -n "$signatures_from" ]; then
  signing="the signatures of $signatures_from"
elif [ -n "${BELVOSTA_SIGN_PKCS12:-}" ]; then
  scripts/sign-windows.sh --ready  # before the builds, not after ten minutes of them
  signing="the certificate $BELVOSTA_SIGN_PKCS12"
  if [ -n "${BELVOSTA_SIGN_TIMESTAMP_URL:-}" ]; then
    signing+=", time-stamped by $BELVOSTA_SIGN_TIMESTAMP_URL (another release gives other bytes)"
  fi
else
  signing=""
fi
unsigned_note="release.sh: NOT SIGNED: belvosta.exe and the MSI carry no signature, as no certificate was given (BELVOSTA_SIGN_PKCS12 and BELVOSTA_SIGN_PASSWORD or BELVOSTA_SIGN_PASSWORD_FILE; docs/release.md)"
[ -n "$signing" ] || echo "$unsigned_note"

# Signs (or gives the signature of the same file in $signatures_from to) FILE; $2 is that
# file, for an .exe inside a zip "ZIP:MEMBER".
sign() {
  local file=$1 model=$2
  if [ -z "$signing" ]; then
    return
  elif [ -z "$signatures_from" ]; then
    scripts/sign-windows.sh "$file"
  elif [[ $model == *:* ]]; then
    local extracted
    extracted=$(mktemp)
    unzip -p "$signatures_from/${model%%:*}" "${model#*:}" >"$extracted" || {
      rm -f "$extracted"
      echo "release.sh: $signatures_from/${model%%:*} lacks ${model#*:}" >&2
      exit 1
    }
    scripts/sign-windows.sh --like "$extracted" "$file" || { rm -f "$extracted"; exit 1; }
    rm -f "$extracted"
  else
    scripts/sign-windows.sh --like "$signatures_from/$model" "$file"
  fi
}

presets=(release-linux release-win32 release-win64)
rm -rf dist "${presets[@]/#/build/}"
for preset in "${presets[@]}"; do
  echo "=== $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j"$(nproc)"
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "build/$preset/CMakeCache.txt")
  if [ "$preset" != release-linux ]; then
    # Signed before it is packed: the zip and the MSI hold the signed program.
    name=belvosta-$version-${preset#release-}
    sign "build/$preset/belvosta.exe" "$name.zip:$name/belvosta.exe"
  fi
  # Under fakeroot every file in the archives belongs to root, whoever builds.
  (cd "build/$preset" && fakeroot cpack >/dev/null)
done

echo "=== the MSI package"
msi=build/release-win32/package/belvosta-$version-win32.msi
scripts/make-msi.sh build/release-win32 "$msi"
sign "$msi" "$(basename "$msi")"

mkdir dist
cp build/release-linux/package/belvosta_*.deb build/release-linux/package/belvosta-*.tar.gz \
   build/release-win32/package/belvosta-*.zip "$msi" build/release-win64/package/belvosta-*.zip \
   dist/
# Lines starting with "#" say what is signed; sha256sum -c passes over them.
if [ -n "$signing" ]; then
  state="signed (Authenticode, SHA-256)"
else
  state="NOT signed"
fi
sums=$(cd dist && sha256sum -- *)
{
  echo "# belvosta-$version-win32.msi: $state, and so is the belvosta.exe in it."
  for arch in win32 win64; do
    echo "# belvosta-$version-$arch.zip: the belvosta.exe in it $state."
  done
  echo "# The Linux packages carry no signature; these checksums are their check."
  echo "$sums"
} >dist/SHA256SUMS
echo "=== dist/ (SOURCE_DATE_EPOCH=$SOURCE_DATE_EPOCH)"
(cd dist && stat -c '%10s  %n' -- *)
if [ -n "$signing" ]; then
  echo "release.sh: belvosta.exe and the MSI are signed with $signing"
else
  echo "$unsigned_note"
fi
