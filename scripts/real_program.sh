# Shared by the scripts that run the real program from outside (scripts/e2e.sh,
# bench/soak.sh): source it after `set -euo pipefail`, with `name` set for messages.
# Gives a temporary run directory ($run) whose background processes ($pids) are killed and
# which is removed on exit, a quote port read from the build, a polling helper, and Xvfb.

# The port of the build's quote URL, which must be a loopback test port.
quote_port() {
  local url port
  url=$(sed -n 's/^QUOVELLA_QUOTE_URL:STRING=//p' "$1/CMakeCache.txt")
  port=$(printf '%s' "$url" | sed -n 's|^http://127\.0\.0\.1:\([0-9]*\)/$|\1|p')
  if [ -z "$port" ]; then
    echo "$name: the build's quote URL is not a loopback test port: $url" >&2
    exit 1
  fi
  printf '%s' "$port"
}

run=$(mktemp -d)
pids=()
finish() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  # Set by a caller that could not unmount what it mounted under $run: removing it then
  # would reach through the mount.
  [ -n "${keep_run:-}" ] || rm -rf "$run"
}
trap finish EXIT

# Polls a condition for up to $1 tenths of a second.
within() {
  local tenths=$1
  shift
  for _ in $(seq 1 "$tenths"); do
    if "$@"; then return 0; fi
    sleep 0.1
  done
  return 1
}

# Starts Xvfb on the first free display number from $1 to $2, with any further arguments
# given to Xvfb, and exports DISPLAY.
start_xvfb() {
  local display="" n
  for n in $(seq "$1" "$2"); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
  done
  if [ -z "$display" ]; then
    echo "$name: no free X display number" >&2
    exit 1
  fi
  Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp "${@:3}" >/dev/null 2>&1 &
  pids+=($!)
  export DISPLAY="$display"
  if ! within 50 test -e "/tmp/.X11-unix/X${display#:}"; then
    echo "$name: Xvfb did not start" >&2
    exit 1
  fi
}
