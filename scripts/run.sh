#!/usr/bin/env bash
# Builds Belvosta for Linux and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh build
cmake --preset default -DBELVOSTA_TESTS=OFF >/dev/null
cmake --build --preset default --target belvosta -j"$(nproc)"
exec build/default/belvosta
