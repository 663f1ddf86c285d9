#!/usr/bin/env bash
# Makes a throwaway code-signing certificate for the release's tests, in DIR (outside the
# repository, as scripts/sign-windows.sh demands):
#   DIR/signing.p12       the certificate and its key (PKCS#12), for BELVOSTA_SIGN_PKCS12
#   DIR/password          its random password, for BELVOSTA_SIGN_PASSWORD_FILE
#   DIR/certificate.pem   the certificate alone, the authority osslsigncode verify -CAfile
#                         trusts (it signs itself)
#   tests/release/make-test-certificate.sh DIR
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: $0 DIR" >&2; exit 2; }
dir=$1
mkdir -p "$dir"
(umask 077 && openssl rand -hex 16 >"$dir/password")
openssl req -x509 -newkey rsa:2048 -nodes -days 7 -keyout "$dir/key.pem" \
  -out "$dir/certificate.pem" -subj "/O=Quirlant Software/CN=Quirlant Software (test only)" \
  -addext "keyUsage=critical,digitalSignature" -addext "extendedKeyUsage=codeSigning" \
  2>/dev/null
openssl pkcs12 -export -inkey "$dir/key.pem" -in "$dir/certificate.pem" \
  -out "$dir/signing.p12" -passout "file:$dir/password"
rm -f "$dir/key.pem"
