#!/usr/bin/env bash
# Installs what is missing, builds what it starts, starts the demo quote server and opens the
# program.
#   ./run.sh                    run the program (under Xvfb when there is no display)
#   ./run.sh --screenshot FILE [PAGE]
#                               save a picture of the main window after start-up, then exit
#                               (PAGE 0 "监视", 1 "数据", 2 "持有"; 0 by default)
set -euo pipefail

screenshot=""
page=0
if [ "${1:-}" = "--screenshot" ]; then
  if [ -z "${2:-}" ]; then
    echo "usage: ./run.sh [--screenshot FILE [PAGE]]" >&2
    exit 2
  fi
  case "$2" in
    /*) screenshot="$2" ;;
    *) screenshot="$PWD/$2" ;;
  esac
  page="${3:-0}"
fi

cd "$(dirname "$0")"
./scripts/install-deps.sh run
cmake --preset default >/dev/null
# Only what this script starts, with the empty store beside it; ./test.sh builds the rest.
cmake --build --preset run

bin="$PWD/build/bin"

# A starter watch list beside the program: GBK (plain ASCII here), CR LF line ends.
if [ ! -e "$bin/system.txt" ]; then
  printf 'sh600887\r\nsz000001\r\nsh600519\r\nsz300750\r\nsh601318\r\n' >"$bin/system.txt"
fi

feed_pid=""
stop_feed() {
  if [ -n "$feed_pid" ]; then
    kill "$feed_pid" 2>/dev/null || true
    wait "$feed_pid" 2>/dev/null || true
  fi
}
trap stop_feed EXIT

port=18930
if [ -x "$bin/quovella-feed" ]; then
  "$bin/quovella-feed" --port "$port" &
  feed_pid=$!
  for _ in $(seq 1 50); do
    if (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then break; fi
    if ! kill -0 "$feed_pid" 2>/dev/null; then
      echo "the demo quote server did not start" >&2
      feed_pid=""
      break
    fi
    sleep 0.1
  done
fi

run() {
  if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    "$@"
  else
    xvfb-run -a "$@"
  fi
}

if [ -n "$screenshot" ]; then
  run "$bin/quovella-screenshot" "$screenshot" "$page"
else
  run "$bin/quovella"
fi
