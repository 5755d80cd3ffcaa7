#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/ (configured on first use), runs each
# for SECONDS seconds, one after another, and prints a table of executions per second.
#
#   fuzz/run.sh SECONDS [TARGET...]     # every target of fuzz/corpus/ when none is named
#
# Each target starts from its committed corpus (fuzz/corpus/NAME, only read) and writes what it
# finds to build-fuzz/fuzz-work/NAME/corpus; a failing input lands in
# build-fuzz/fuzz-work/NAME/artifacts/ and makes the script exit 1.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ $# -lt 1 ] || ! [[ $1 =~ ^[0-9]+$ ]]; then
  echo "usage: fuzz/run.sh SECONDS [TARGET...]" >&2
  exit 2
fi
seconds=$1
shift
build=${QUOVELLA_FUZZ_BUILD:-build-fuzz}

if [ ! -f "$build/CMakeCache.txt" ]; then
  cxx=$(command -v clang++-14 || command -v clang++ || true)
  if [ -z "$cxx" ]; then
    echo "no clang++ found: libFuzzer comes with clang (Debian: clang-14 libclang-rt-14-dev)" >&2
    exit 2
  fi
  nice -n 10 cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER="$cxx" -DQUOVELLA_FUZZ=ON -DQUOVELLA_WITH_QT=OFF \
    -DQUOVELLA_BUILD_TESTS=OFF -DQUOVELLA_BUILD_BENCH=OFF >/dev/null
fi
nice -n 10 cmake --build "$build" --target quovella_fuzz -j2 >/dev/null

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for dir in fuzz/corpus/*/; do targets+=("$(basename "$dir")"); done
fi

# The watch-list target syncs every rewrite: on a RAM disk that costs nothing.
scratch=${TMPDIR:-/tmp}
if [ -d /dev/shm ] && [ -w /dev/shm ]; then scratch=/dev/shm; fi

failed=0
rows=()
for target in "${targets[@]}"; do
  work=$build/fuzz-work/$target
  rm -rf "$work"
  mkdir -p "$work/corpus" "$work/artifacts"
  echo "fuzzing $target for ${seconds}s" >&2
  result=ok
  if ! nice -n 10 env TMPDIR="$scratch" "$build/bin/fuzz_$target" \
      -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
      -artifact_prefix="$work/artifacts/" "$work/corpus" "fuzz/corpus/$target" \
      >"$work/log" 2>&1; then
    result="FAILED: $(ls "$work/artifacts" | head -1) (see $work/log)"
    failed=1
  fi
  runs=$(awk '/^stat::number_of_executed_units:/ {print $2}' "$work/log")
  rate=$(awk '/^stat::average_exec_per_sec:/ {print $2}' "$work/log")
  found=$(find "$work/corpus" -type f | wc -l)
  rows+=("$(printf '| %-12s | %10s | %7s | %9s | %s |' "$target" "${runs:-?}" "${rate:-?}" \
    "$found" "$result")")
done

printf '| %-12s | %10s | %7s | %9s | %s |\n' target runs exec/s "new units" result
printf '|%s|%s|%s|%s|%s|\n' -------------- ------------ --------- ----------- --------
printf '%s\n' "${rows[@]}"
exit $failed
