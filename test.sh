#!/usr/bin/env bash
# Installs what is missing, checks the layering, builds everything, and runs every test.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh
./scripts/check-layering.sh
preset=default
if [ "${CI:-}" = "true" ]; then preset=ci; fi
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset"
