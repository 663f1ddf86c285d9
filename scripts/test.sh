#!/usr/bin/env bash
# Builds Belvosta and runs every test: the behaviour and platform tests in the debug build
# and again under AddressSanitizer + UndefinedBehaviorSanitizer, the Xvfb smoke test, the
# proof that the program writes nothing, the release (scripts/release.sh: every download,
# the Linux packages' checks, and a second release in another folder that must give the
# same bytes), then the Windows builds with their import checks, the Win32 platform tests
# and the end-to-end scenarios under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test

for preset in default asan; do
  echo "=== $preset: configure, build, test"
  cmake --preset "$preset" -DBELVOSTA_TESTS=ON >/dev/null
  cmake --build --preset "$preset" -j"$(nproc)"
  ctest --preset "$preset" -j"$(nproc)"
done

echo "=== Release: the downloads in dist/, the Linux packages' checks, the same bytes again"
scripts/release.sh
scripts/check-package.sh dist
tests/release/reproducible.sh dist

scripts/e2e.sh
