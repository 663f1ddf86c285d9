#!/usr/bin/env bash
# Builds the Windows program (presets win32 and win64), checks what it imports, runs the
# Win32 platform tests and the end-to-end scenarios of the 64-bit program under Wine.
# Takes about four minutes on two cores.
set -euo pipefail
cd "$(dirname "$0")/.."
# The win64 preset also configures the Win32 platform tests, which build GoogleTest from
# Debian's sources (group "test").
scripts/install-deps.sh windows wine test

echo "=== win32: configure, build"
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target belvosta
echo "=== win64: configure, build (with the end-to-end driver)"
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target belvosta belvosta_e2e open_logger win32_platform_tests

echo "=== imports"
if [ -x scripts/check-imports.sh ]; then
  scripts/check-imports.sh build/win32/belvosta.exe build/win64/belvosta.exe
fi
scripts/check-xp-imports.sh build/win32/belvosta.exe

echo "=== Win32 platform tests under Wine"
ctest --test-dir build/win64/src/platform/win32/tests --output-on-failure

echo "=== end-to-end under Wine"
tests/e2e/run.sh --build build/win64
