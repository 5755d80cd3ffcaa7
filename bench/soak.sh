#!/usr/bin/env bash
# Soak: the real program for a while (10 minutes by default) with 50 watched codes and 20
# holdings, against the demo server, refreshing every second. Samples resident memory and
# open file descriptors every 10 s, prints them, judges growth after the first minute
# (goal: memory within 5 %, descriptors not at all) and draws soak.png.
#   bench/soak.sh BUILD_DIR [SECONDS] [OUT_DIR]
set -euo pipefail
build="$(cd "${1:?usage: bench/soak.sh BUILD_DIR [SECONDS] [OUT_DIR]}" && pwd)"
seconds="${2:-600}"
out="$(mkdir -p "${3:-.}" && cd "${3:-.}" && pwd)"
bin="$build/bin"
here="$(cd "$(dirname "$0")" && pwd)"

name=soak
. "$here/../scripts/real_program.sh"
port=$(quote_port "$build")

cp "$bin/quovella" "$run/"
for i in $(seq 0 49); do
  if [ $((i % 2)) -eq 0 ]; then printf 'sh%06d\r\n' $((600000 + i)); else printf 'sz%06d\r\n' $((i)); fi
done >"$run/system.txt"
"$bin/quovella-mkstore" "$run/gp.mdb" >/dev/null
for i in $(seq 0 19); do
  sqlite3 "$run/gp.mdb" "insert into cy(购买日期,股票代码,股票名称,购买股数,购买价,总价)
    values('2020-08-27','sh$((600100 + i))','股票$i','100','12.50','1250');"
done

"$bin/quovella-feed" --port "$port" >/dev/null &
pids+=($!)
start_xvfb 130 160
# The refresh period is the slider's first position: 1 s.
"$run/quovella" >/dev/null 2>&1 &
program=$!
pids+=("$program")

samples="$out/soak.tsv"
printf 'seconds\trss_kb\tfds\n' >"$samples"
for t in $(seq 0 10 "$seconds"); do
  [ "$t" -gt 0 ] && sleep 10
  kill -0 "$program" 2>/dev/null || { echo "soak: the program ended early" >&2; exit 1; }
  rss=$(sed -n 's/^VmRSS:[[:space:]]*\([0-9]*\) kB/\1/p' "/proc/$program/status")
  fds=$(find "/proc/$program/fd" -mindepth 1 -maxdepth 1 | wc -l)
  printf '%s\t%s\t%s\n' "$t" "$rss" "$fds" | tee -a "$samples"
done
python3 "$here/soak_plot.py" "$samples" "$out/soak.png"
