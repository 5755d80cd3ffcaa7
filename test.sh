#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test:
#   1. the layering check, and under CI=true the formatting of every C++ source;
#   2. the whole suite (warnings as errors under CI=true), fuzz corpora replayed with it;
#   3. the whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer;
#   4. the threading tests under ThreadSanitizer;
#   5. the real program end to end under Xvfb (scripts/e2e.sh).
set -euo pipefail
cd "$(dirname "$0")"

stage() { printf '\n== %s ==\n' "$*"; }

./scripts/install-deps.sh
./scripts/check-layering.sh
preset=default
if [ "${CI:-}" = "true" ]; then
  preset=ci
  stage "formatting"
  ./scripts/check-format.sh
fi

stage "build and test ($preset)"
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset"

stage "AddressSanitizer and UndefinedBehaviorSanitizer"
cmake --preset asan >/dev/null
cmake --build --preset asan
ctest --preset asan

stage "ThreadSanitizer"
cmake --preset tsan >/dev/null
cmake --build --preset tsan --target threading_tests
ctest --preset tsan

stage "end to end"
build_dir=build
if [ "$preset" = ci ]; then build_dir=build-ci; fi
./scripts/e2e.sh "$build_dir"
