#!/usr/bin/env bash
# Authenticode signatures (SHA-256, Debian's osslsigncode) for the Windows downloads, made in
# place by scripts/release.sh:
#   scripts/sign-windows.sh --ready            checks the certificate the environment names
#   scripts/sign-windows.sh FILE...            signs each program (.exe) or package (.msi)
#   scripts/sign-windows.sh --like SIGNED FILE puts the signature of SIGNED, a released file,
#                                              onto FILE; fails unless it fits FILE's bytes
#                                              (and, for a program, unless SIGNED without its
#                                              signature is FILE byte for byte)
#   scripts/sign-windows.sh --fits FILE...     checks that each file's signature holds the
#                                              digest of its bytes (not who signed it)
# The certificate comes from the environment, never from the repository:
#   BELVOSTA_SIGN_PKCS12          a PKCS#12 file: the code-signing certificate (its chain
#                                 too, if the authority has one) and its key
#   BELVOSTA_SIGN_PASSWORD        its password, or
#   BELVOSTA_SIGN_PASSWORD_FILE   a file whose first line is the password
#   BELVOSTA_SIGN_TIMESTAMP_URL   an RFC 3161 time-stamp server (optional): the signature then
#                                 stays valid after the certificate expires, but carries the
#                                 server's time, so two releases no longer give the same bytes
# The signature names the program and the maker's address, and gives SOURCE_DATE_EPOCH as
# its signing time: the same file, certificate and commit give the same signed bytes.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
program_name="Belvosta"
maker_address="mailto:belvosta@quirlant.example"

fail() {
  echo "sign-windows.sh: $*" >&2
  exit 1
}

# A secret named by the environment must not be a file of the checkout (it would end up in
# a commit or an archive of it sooner or later).
outside_repository() {
  local what=$1 file=$2 path
  [ -f "$file" ] && [ -r "$file" ] || fail "$what $file is not a readable file"
  path=$(realpath "$file")
  case "$path/" in
    "$root"/*) fail "$what $file lies in the repository; keep it outside, e.g. in ~/.belvosta" ;;
  esac
}

check_environment() {
  [ -n "${BELVOSTA_SIGN_PKCS12:-}" ] || fail "BELVOSTA_SIGN_PKCS12 names no certificate"
  outside_repository "the certificate (BELVOSTA_SIGN_PKCS12)" "$BELVOSTA_SIGN_PKCS12"
  if [ -n "${BELVOSTA_SIGN_PASSWORD_FILE:-}" ]; then
    outside_repository "the password file (BELVOSTA_SIGN_PASSWORD_FILE)" \
      "$BELVOSTA_SIGN_PASSWORD_FILE"
  elif [ -z "${BELVOSTA_SIGN_PASSWORD+set}" ]; then
    fail "no password: set BELVOSTA_SIGN_PASSWORD or BELVOSTA_SIGN_PASSWORD_FILE"
  fi
  [ -n "${SOURCE_DATE_EPOCH:-}" ] || fail "SOURCE_DATE_EPOCH is not set"
}

# The password goes to osslsigncode through a file or standard input, never on its command
# line, where every user of the machine could read it.
password() {
  if [ -n "${BELVOSTA_SIGN_PASSWORD_FILE:-}" ]; then
    head -n 1 "$BELVOSTA_SIGN_PASSWORD_FILE"
  else
    printf '%s\n' "$BELVOSTA_SIGN_PASSWORD"
  fi
}

# True when osslsigncode computes for FILE the digest its signature holds; the signer's
# certificate chain is not judged here (scripts/check-signatures.sh does that).
digest_fits() {
  local report
  report=$(osslsigncode verify -in "$1" 2>&1) || true
  awk '$1 == "Current" || $1 == "Calculated" {
         key = $2 " " $3; sub(/:.*/, "", key); value = $NF
         if ($1 == "Current") current[key] = value; else calculated[key] = value
       }
       END {
         for (key in current) { pairs++; if (current[key] != calculated[key]) exit 1 }
         exit pairs == 0
       }' <<<"$report"
}

sign() {
  local file=$1 signed=$1.signing
  local options=(-h sha256 -n "$program_name" -i "$maker_address" -time "$SOURCE_DATE_EPOCH")
  if [ -n "${BELVOSTA_SIGN_TIMESTAMP_URL:-}" ]; then
    options+=(-ts "$BELVOSTA_SIGN_TIMESTAMP_URL")
  fi
  rm -f "$signed"
  password | osslsigncode sign -pkcs12 "$BELVOSTA_SIGN_PKCS12" -readpass /dev/stdin \
      "${options[@]}" -in "$file" -out "$signed" >/dev/null ||
    { rm -f "$signed"; fail "osslsigncode could not sign $file"; }
  digest_fits "$signed" || { rm -f "$signed"; fail "the signature made for $file does not fit it"; }
  mv "$signed" "$file"
  echo "sign-windows.sh: signed $file"
}

sign_like() {
  local model=$1 file=$2 signature
  [ -f "$model" ] || fail "$model does not exist"
  # osslsigncode writes no file that exists already.
  signature=$(mktemp -d)
  osslsigncode extract-signature -in "$model" -out "$signature/der" >/dev/null 2>&1 ||
    { rm -rf "$signature"; fail "$model carries no signature"; }
  # A program without its signature is the unsigned program (osslsigncode signs it with a
  # correct PE checksum, which the linker writes already, and pads it to 8 bytes, which it
  # is already); a package's streams are laid out anew, so only its digest can say.
  if [[ $file == *.exe ]]; then
    osslsigncode remove-signature -in "$model" -out "$signature/unsigned" >/dev/null 2>&1 || true
    cmp -s "$signature/unsigned" "$file" ||
      { rm -rf "$signature"; fail "$model without its signature is not $file byte for byte"; }
  fi
  rm -f "$file.signing"
  # attach-signature also judges the certificate chain and fails for an authority this
  # machine does not know; whether the signature fits the bytes is what counts here.
  osslsigncode attach-signature -sigin "$signature/der" -in "$file" -out "$file.signing" \
      >/dev/null 2>&1 || true
  rm -rf "$signature"
  if [ ! -f "$file.signing" ] || ! digest_fits "$file.signing"; then
    rm -f "$file.signing"
    fail "the signature of $model does not fit $file: they are not the same build"
  fi
  mv "$file.signing" "$file"
  echo "sign-windows.sh: put the signature of $model onto $file"
}

command -v osslsigncode >/dev/null || fail "osslsigncode is missing (scripts/install-deps.sh sign)"
case "${1:-}" in
  --ready) check_environment ;;
  --like)
    [ $# -eq 3 ] || fail "usage: $0 --like SIGNED FILE"
    sign_like "$2" "$3" ;;
  --fits)
    shift
    [ $# -gt 0 ] || fail "usage: $0 --fits FILE..."
    for file in "$@"; do
      digest_fits "$file" || fail "the signature of $file does not hold its digest"
    done ;;
  ""|-*) fail "usage: $0 --ready | FILE... | --like SIGNED FILE | --fits FILE..." ;;
  *)
    check_environment
    for file in "$@"; do sign "$file"; done ;;
esac
