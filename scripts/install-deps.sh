#!/usr/bin/env bash
# Installs the Debian 12 packages, only when missing:
#   scripts/install-deps.sh run    what the program and the demo server need (./run.sh)
#   scripts/install-deps.sh test   that, and what the tests, benchmarks and checks need
#   scripts/install-deps.sh package the program's, and what scripts/check-package.sh checks with
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  qt6-base-dev libgl-dev
  libsqlite3-dev libcurl4-openssl-dev libpng-dev libcpp-httplib-dev
  xvfb xauth fonts-wqy-microhei
)
case "${1:-test}" in
  run) ;;
  test)
    # The end-to-end run's window probe (libx11-dev) and its look into gp.mdb (sqlite3);
    # locales for the runs under a German locale, whose decimal mark is a comma.
    packages+=(libgtest-dev libgmock-dev libbenchmark-dev clang-format libx11-dev sqlite3 locales)
    ;;
  package)
    # The bare system's base (debootstrap) and where the program's window is (xwininfo).
    packages+=(dpkg-dev lintian desktop-file-utils appstream debootstrap x11-utils)
    ;;
  *)
    echo "usage: scripts/install-deps.sh [run|test|package]" >&2
    exit 2
    ;;
esac

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then
    echo "missing packages need root: ${missing[*]}" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# test.sh runs the number tests and the end-to-end run again under de_DE.UTF-8.
if [ "${1:-test}" = test ] && ! locale -a 2>/dev/null | grep -ix 'de_DE\.utf-\?8' >/dev/null; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "the locale de_DE.UTF-8 is missing and needs root: localedef -i de_DE -f UTF-8 de_DE.UTF-8" >&2
    exit 1
  fi
  echo "generating the locale de_DE.UTF-8"
  localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
