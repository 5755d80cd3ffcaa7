#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the demo need, only when missing.
#   scripts/install-deps.sh [--package-tools]
# --package-tools adds what scripts/check-package.sh checks the packages with.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  qt6-base-dev libgl-dev
  libsqlite3-dev libcurl4-openssl-dev libpng-dev libcpp-httplib-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth fonts-wqy-microhei clang-format
  libx11-dev sqlite3
)
if [ "${1:-}" = "--package-tools" ]; then
  packages+=(dpkg-dev lintian desktop-file-utils appstream)
fi

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
