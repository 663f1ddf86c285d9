#!/usr/bin/env bash
# Makes the Windows Installer package of the 32-bit program from a release-win32 build, with
# wixl (msitools) and packaging/belvosta.wxs:
#   scripts/make-msi.sh BUILD OUT.msi    (BUILD: e.g. build/release-win32, after its build)
# It packs BUILD/belvosta.exe as it is (signed, when scripts/release.sh signed it),
# BUILD/package/LIESMICH.txt and the program's icon. The same files give the same bytes:
# the files' dates in the cabinet are SOURCE_DATE_EPOCH, and the summary information that
# wixl fills from the clock and at random (scripts/msi-summary.py) gets that time and a
# package code made from the SHA-256 of everything that goes into the package. The product
# code is made from the version, so each version has its own and replaces the one before.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
[ $# -eq 2 ] || { echo "usage: $0 BUILD OUT.msi" >&2; exit 2; }
build=$1
out=$2
[ -n "${SOURCE_DATE_EPOCH:-}" ] || { echo "make-msi.sh: SOURCE_DATE_EPOCH is not set" >&2; exit 2; }
source_wxs=$root/packaging/belvosta.wxs
language=1031  # German, the program's language

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt" 2>/dev/null) || true
[ -n "$version" ] || { echo "make-msi.sh: $build is no configured build" >&2; exit 1; }

# A GUID from the SHA-256 of standard input, in the form of a name-based UUID (version 5).
guid_from() {
  local hash
  hash=$(sha256sum | cut -c1-32)
  printf '{%s-%s-5%s-%x%s-%s}\n' "${hash:0:8}" "${hash:8:4}" "${hash:13:3}" \
    $(((0x${hash:16:1} & 3) | 8)) "${hash:17:3}" "${hash:20:12}" | tr a-f A-F
}

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp "$build/belvosta.exe" "$build/package/LIESMICH.txt" "$root/src/app/res/belvosta.ico" "$stage/"
touch -d "@$SOURCE_DATE_EPOCH" "$stage"/*

upgrade_code=$(sed -n 's/.*UpgradeCode="\([^"]*\)".*/\1/p' "$source_wxs")
product_code=$(printf '%s %s\n' "$upgrade_code" "$version" | guid_from)
size_kb=$(( ($(stat -c %s "$stage/belvosta.exe") + $(stat -c %s "$stage/LIESMICH.txt") + 1023) / 1024 ))
(cd "$stage" && TZ=UTC wixl --arch x86 -D "Version=$version" -D "ProductCode=$product_code" \
   -D "Size=$size_kb" -o belvosta.msi "$source_wxs")
package_code=$( (wixl --version; sha256sum <"$source_wxs"; echo "$version $product_code $size_kb"
                 cd "$stage" && sha256sum belvosta.exe LIESMICH.txt belvosta.ico) | guid_from)
"$root/scripts/msi-summary.py" "$stage/belvosta.msi" "$package_code" "$language"
mv "$stage/belvosta.msi" "$out"
echo "make-msi.sh: $out (version $version, package code $package_code)"
