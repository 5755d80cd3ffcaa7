#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test. Under CI also checks the formatting
# of every C++ source and treats warnings as errors.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh
preset=default
if [ "${CI:-}" = "true" ]; then
  preset=ci
  ./scripts/check-format.sh
fi
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset"
