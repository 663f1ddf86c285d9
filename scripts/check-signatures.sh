#!/usr/bin/env bash
# Checks the Authenticode signatures of a signed release (scripts/release.sh's dist/): each
# file SHA256SUMS calls signed (the belvosta.exe in each zip, the MSI and the belvosta.exe in
# it) carries one SHA-256 signature that osslsigncode verify accepts, with the certificate
# chain up to the given authority, the program's name and the maker's address; the digest
# it holds is that of the file, and it covers the whole file (a program's certificate table
# is where the file ends). With the certificate still in the environment (BELVOSTA_SIGN_*,
# no time-stamp server) each file, signed again, must come out as the same bytes; the
# signing time is then the commit's, as in scripts/release.sh, unless SOURCE_DATE_EPOCH
# gives it.
#   scripts/check-signatures.sh --ca CERTIFICATE.pem [DIST]     (DIST: default dist/)
set -euo pipefail
cd "$(dirname "$0")/.."
[ "${1:-}" = --ca ] && [ $# -ge 2 ] || { echo "usage: $0 --ca CERTIFICATE.pem [DIST]" >&2; exit 2; }
ca=$(realpath "$2")
dist=${3:-dist}
scripts/install-deps.sh installer
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null) || SOURCE_DATE_EPOCH=""
fi
export SOURCE_DATE_EPOCH

fail() {
  echo "check-signatures: $*" >&2
  exit 1
}

# The last byte of a program's certificate table, from the security entry of its PE
# header's data directory (entry 4; the directory starts 96 bytes into the optional header
# of a 32-bit program, 112 into that of a 64-bit one).
certificate_table_end() {
  local file=$1 header magic directory
  header=$(od -An -tu4 -j60 -N4 "$file" | tr -d ' ')
  magic=$(od -An -tx2 -j$((header + 24)) -N2 "$file" | tr -d ' ')
  case $magic in
    010b) directory=$((header + 24 + 96)) ;;
    020b) directory=$((header + 24 + 112)) ;;
    *) fail "$file is no Windows program (optional header $magic)" ;;
  esac
  od -An -tu4 -j$((directory + 4 * 8)) -N8 "$file" | awk '{ print $1 + $2 }'
}

# verify FILE NAME: NAME is how the failure messages call it.
verify() {
  local file=$1 name=$2 report
  report=$(osslsigncode verify -CAfile "$ca" -in "$file" 2>&1) ||
    fail "osslsigncode verify rejects $name:"$'\n'"$report"
  for expected in "Signature verification: ok" "Number of verified signatures: 1" \
                  "Text description: Belvosta" "URL description: mailto:belvosta@quirlant.example"; do
    grep -qF "$expected" <<<"$report" || fail "$name: osslsigncode verify does not say \"$expected\""
  done
  grep -q "^Message digest algorithm *: SHA256" <<<"$report" || fail "$name is not signed with SHA-256"
  scripts/sign-windows.sh --fits "$file"
  if [[ $file == *.exe ]]; then
    local end size
    end=$(certificate_table_end "$file")
    size=$(stat -c %s "$file")
    [ "$end" -eq "$size" ] || fail "$name: the signature ends at byte $end of $size"
  fi
  if [ -n "${BELVOSTA_SIGN_PKCS12:-}" ] && [ -z "${BELVOSTA_SIGN_TIMESTAMP_URL:-}" ] &&
     [ -n "$SOURCE_DATE_EPOCH" ]; then
    rm -f "$work/again"
    osslsigncode remove-signature -in "$file" -out "$work/again" >/dev/null
    scripts/sign-windows.sh "$work/again" >/dev/null
    cmp -s "$work/again" "$file" || fail "$name signed once more is not the same bytes"
  fi
  echo "check-signatures: $name: signed (SHA-256), verified, covers the whole file"
}

[ -f "$dist/SHA256SUMS" ] || fail "$dist holds no SHA256SUMS"
mapfile -t signed < <(sed -n 's/^# \(belvosta-[^:]*\): .*signed (Authenticode, SHA-256).*/\1/p' \
                        "$dist/SHA256SUMS")
[ ${#signed[@]} -gt 0 ] || fail "$dist/SHA256SUMS calls no file signed"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for download in "${signed[@]}"; do
  case $download in
    *.zip)
      mkdir "$work/zip"
      unzip -q "$dist/$download" -d "$work/zip"
      verify "$work/zip/${download%.zip}/belvosta.exe" "belvosta.exe in $download"
      rm -rf "$work/zip" ;;
    *.msi)
      verify "$dist/$download" "$download"
      mkdir "$work/msi"
      package=$(realpath "$dist/$download")
      (cd "$work/msi" && msiextract "$package" >/dev/null)
      program=$(find "$work/msi" -name belvosta.exe)
      [ -n "$program" ] || fail "$download holds no belvosta.exe"
      verify "$program" "belvosta.exe in $download"
      rm -rf "$work/msi" ;;
    *) fail "SHA256SUMS calls $download signed, which cannot be" ;;
  esac
done
