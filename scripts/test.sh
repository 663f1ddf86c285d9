#!/usr/bin/env bash
# Builds Belvosta and runs every test: the behaviour and platform tests in the debug build
# and again under AddressSanitizer + UndefinedBehaviorSanitizer, the Xvfb smoke test, the
# proof that the program writes nothing, every fuzz target of tests/fuzz/ for
# BELVOSTA_FUZZ_SECONDS (30 by default, 0 for none) each, a random sample of the planted faults of
# tests/mutants.txt (BELVOSTA_MUTATION_SAMPLE faults, 10 by default, 0 for none) that must
# all be caught, the release (scripts/release.sh: every download, signed with a throwaway
# certificate made on the spot; the signatures' and the Linux packages' checks; a second
# release in another folder that, given the first one's signatures, must give the same
# bytes), then the Windows builds with their import checks, the Win32 platform tests and
# the end-to-end scenarios under Wine, and the MSI installed, run and removed under Wine.
#
#   scripts/test.sh --quick   only builds the default preset's behaviour and POSIX tests
#                             and runs them: the developers' quick check
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test

if [ "${1:-}" = --quick ]; then
  cmake --preset default >/dev/null
  cmake --build --preset default -j"$(nproc)" --target belvosta_behaviour_tests belvosta_posix_tests
  build/default/belvosta_behaviour_tests --gtest_brief=1
  build/default/belvosta_posix_tests --gtest_brief=1
  exit
fi
[ $# -eq 0 ] || { echo "usage: $0 [--quick]" >&2; exit 2; }

for preset in default asan; do
  echo "=== $preset: configure, build, test"
  cmake --preset "$preset" -DBELVOSTA_TESTS=ON >/dev/null
  cmake --build --preset "$preset" -j"$(nproc)"
  ctest --preset "$preset" -j"$(nproc)"
done

fuzz_seconds=${BELVOSTA_FUZZ_SECONDS:-30}
if [ "$fuzz_seconds" -gt 0 ]; then
  echo "=== fuzz: every reader of outside data, $fuzz_seconds s each"
  scripts/install-deps.sh fuzz
  scripts/fuzz.sh "$fuzz_seconds"
fi

sample=${BELVOSTA_MUTATION_SAMPLE:-10}
if [ "$sample" -gt 0 ]; then
  echo "=== planted faults: a sample of $sample"
  scripts/mutate.sh --sample "$sample" --scratch "$PWD/build/mutate"
fi

echo "=== Release: the signed downloads in dist/, their checks, the same bytes again"
certificate=$(mktemp -d /tmp/belvosta-test-certificate.XXXXXX)
trap 'rm -rf "$certificate"' EXIT
tests/release/make-test-certificate.sh "$certificate"
(
  export BELVOSTA_SIGN_PKCS12=$certificate/signing.p12
  export BELVOSTA_SIGN_PASSWORD_FILE=$certificate/password
  unset BELVOSTA_SIGN_PASSWORD BELVOSTA_SIGN_TIMESTAMP_URL
  scripts/release.sh
  scripts/check-signatures.sh --ca "$certificate/certificate.pem" dist
)
scripts/check-package.sh dist
tests/release/reproducible.sh dist

scripts/e2e.sh
echo "=== the MSI: its tables; installed, run and removed under Wine"
scripts/check-msi.sh dist
