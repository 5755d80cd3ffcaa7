#!/usr/bin/env bash
# Installs what is missing, builds, and runs the tests.
#   ./test.sh          what a developer runs (about 6 minutes from a clean clone):
#                      1. the layering check;
#                      2. every test and fuzz corpus replay (build/, benchmarks not built);
#                      3. the real program end to end under Xvfb (scripts/e2e.sh);
#                      4. the number tests, the windows that show and store numbers, and
#                         the end-to-end run again under de_DE.UTF-8 (about 30 s).
#   ./test.sh --full   what CI runs (.ci/run; also under CI=true), about 17 minutes:
#                      1. the layering check and the formatting of every C++ source;
#                      2. everything built with warnings as errors (build-ci/), every test;
#                      3. the whole suite again under AddressSanitizer and UBSan;
#                      4. the threading tests under ThreadSanitizer;
#                      5. the real program end to end, also under de_DE.UTF-8;
#                      6. the packages (scripts/check-package.sh), on a bare Debian 12 too.
set -euo pipefail
cd "$(dirname "$0")"

full=false
case "${1:-}" in
  --full) full=true ;;
  "") ;;
  *)
    echo "usage: ./test.sh [--full]" >&2
    exit 2
    ;;
esac
if [ "${CI:-}" = "true" ]; then full=true; fi

stage() { printf '\n== %s ==\n' "$*"; }

# A German desktop's locale, whose decimal mark is a comma: Qt hands it to the C library, the
# test mains without Qt take it too, and every number text must still have a point.
comma_locale() {
  stage "under de_DE.UTF-8"
  local bin="$1/bin" de=(env LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8)
  "${de[@]}" "$bin/common_tests" --gtest_brief=1
  "${de[@]}" "$bin/quotes_tests" --gtest_brief=1 --gtest_filter='-QuoteSource*'
  "${de[@]}" "$bin/holdings_tests" --gtest_brief=1
  "${de[@]}" "$bin/records_tests" --gtest_brief=1
  "${de[@]}" "$bin/watch_tests" --gtest_brief=1 --gtest_filter='WatchGridTest.*'
  "${de[@]}" "$bin/holdings_app_tests" --gtest_brief=1
  "${de[@]}" "$bin/records_app_tests" --gtest_brief=1
  "${de[@]}" ./scripts/e2e.sh "$1"
}

./scripts/install-deps.sh test
./scripts/check-layering.sh

if ! $full; then
  stage "build and test"
  cmake --preset default >/dev/null
  cmake --build --preset test
  ctest --preset default
  stage "end to end"
  ./scripts/e2e.sh build
  comma_locale build
  exit 0
fi

stage "formatting"
./scripts/check-format.sh

stage "build and test (ci)"
cmake --preset ci >/dev/null
cmake --build --preset ci
ctest --preset ci

stage "AddressSanitizer and UndefinedBehaviorSanitizer"
cmake --preset asan >/dev/null
cmake --build --preset asan
ctest --preset asan

stage "ThreadSanitizer"
cmake --preset tsan >/dev/null
cmake --build --preset tsan --target threading_tests
ctest --preset tsan

stage "end to end"
build_dir=build-ci
./scripts/e2e.sh "$build_dir"
comma_locale "$build_dir"

stage "packages"
scripts/check-package.sh "$build_dir"
