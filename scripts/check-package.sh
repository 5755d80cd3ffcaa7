#!/usr/bin/env bash
# The packages checked from outside. Builds them with cpack; runs lintian on each .deb
# (failing on errors), desktop-file-validate and appstreamcli on what the program's .deb
# installs; checks each package holds exactly its files. Then unpacks the program's .deb
# into a scratch root and starts it there under Xvfb, once as an ordinary user and once as
# root, each with a HOME of its own: the window appears, the user's data directory gets
# gp.mdb and system.txt, a second start ends with 0, a copy killed with SIGKILL does not
# block the next, and nothing under the scratch root changes. Last, the portable folder
# runs where it is unpacked and keeps its files beside the program. Needs root.
#   scripts/check-package.sh BUILD_DIR
set -euo pipefail
build="$(cd "${1:?usage: scripts/check-package.sh BUILD_DIR}" && pwd)"
scripts="$(cd "$(dirname "$0")" && pwd)"
title=Quovella_V20200827
user=quovella-check

name=check-package
. "$scripts/real_program.sh"

fail() {
  echo "check-package: $*" >&2
  exit 1
}
step() { echo "check-package: $*"; }

[ "$(id -u)" -eq 0 ] || fail "needs root (it adds a user and runs the program as two users)"
"$scripts/install-deps.sh" package

step "building the packages"
cmake --build "$build" --target quovella quovella-feed quovella_package_store \
  quovella-window-probe >/dev/null
rm -rf "$build/packages"
(cd "$build" && timeout 900 cpack >/dev/null) || fail "cpack failed"
shopt -s nullglob
debs=("$build"/packages/quovella_*.deb)
feed_debs=("$build"/packages/quovella-feed_*.deb)
archives=("$build"/packages/quovella-*-portable.tar.gz)
shopt -u nullglob
[ ${#debs[@]} -eq 1 ] && [ ${#feed_debs[@]} -eq 1 ] && [ ${#archives[@]} -eq 1 ] ||
  fail "expected one program .deb, one demo server .deb and one portable archive in $build/packages"
deb=${debs[0]}
probe="$build/bin/quovella-window-probe"

# Exactly these files: no test, benchmark or fuzz program slips in.
files_of_deb() { dpkg-deb -c "$1" | awk '$1 !~ /^d/ { print $6 }' | sort; }
expected="./usr/bin/quovella
./usr/share/applications/io.github.quovella.Quovella.desktop
./usr/share/doc/quovella/changelog.gz
./usr/share/doc/quovella/copyright
./usr/share/icons/hicolor/48x48/apps/io.github.quovella.Quovella.png
./usr/share/icons/hicolor/scalable/apps/io.github.quovella.Quovella.svg
./usr/share/man/man1/quovella.1.gz
./usr/share/metainfo/io.github.quovella.Quovella.metainfo.xml
./usr/share/quovella/gp.mdb
./usr/share/quovella/system.txt"
[ "$(files_of_deb "$deb")" = "$expected" ] || fail "the program's .deb holds other files:
$(files_of_deb "$deb")"
expected="./usr/bin/quovella-feed
./usr/share/doc/quovella-feed/changelog.gz
./usr/share/doc/quovella-feed/copyright
./usr/share/man/man1/quovella-feed.1.gz"
[ "$(files_of_deb "${feed_debs[0]}")" = "$expected" ] || fail "the demo server's .deb holds other files"
portable=$(basename "${archives[0]}" .tar.gz)
expected="$portable/gp.mdb
$portable/quovella
$portable/system.txt"
[ "$(tar -tzf "${archives[0]}" | grep -v '/$' | sort)" = "$expected" ] ||
  fail "the portable archive holds other files: $(tar -tzf "${archives[0]}")"

step "lintian"
for package in "$deb" "${feed_debs[0]}"; do
  timeout 600 lintian --fail-on error "$package" || fail "lintian finds errors in $package"
done

root="$run/root"
dpkg-deb -x "$deb" "$root"
step "desktop-file-validate"
desktop-file-validate "$root/usr/share/applications/io.github.quovella.Quovella.desktop" ||
  fail "the desktop entry is not valid"
step "appstreamcli validate --no-net"
appstreamcli validate --no-net "$root/usr/share/metainfo/io.github.quovella.Quovella.metainfo.xml" ||
  fail "the AppStream metadata is not valid"

# Every path under the scratch root with its type, mode, size and checksum.
snapshot() {
  (cd "$root" && find . -printf '%p %y %m %s\n' | sort &&
    find . -type f -exec sha256sum {} + | sort -k 2)
}
before=$(snapshot)

# Readable by the ordinary user: the scratch root and the homes live under $run.
chmod 755 "$run"
id -u "$user" >/dev/null 2>&1 ||
  useradd --system --no-create-home --shell /usr/sbin/nologin "$user"
start_xvfb 121 150

window_id() { "$probe" find "$title" "$1"; }
gone() { ! window_id 200 >/dev/null 2>&1; }
ended() { ! kill -0 "$1" 2>/dev/null; }

# $1 the user, $2 its HOME, then the program with its arguments; sets $started to the
# process id, a child of this shell.
start_as() {
  local who=$1 home=$2
  shift 2
  if [ "$who" = root ]; then
    env -i HOME="$home" DISPLAY="$DISPLAY" PATH=/usr/bin:/bin "$@" >>"$run/program.log" 2>&1 &
  else
    runuser -u "$who" -- env -i HOME="$home" DISPLAY="$DISPLAY" PATH=/usr/bin:/bin "$@" \
      >>"$run/program.log" 2>&1 &
  fi
  started=$!
  pids+=("$started")
}

# Waits for a process that has ended and drops it from those killed on exit, so no other
# process that gets its id later is.
reap() {
  local kept=() p status=0
  wait "$1" || status=$?
  for p in "${pids[@]}"; do [ "$p" = "$1" ] || kept+=("$p"); done
  pids=("${kept[@]}")
  return "$status"
}

# Ends with the window closed and the program gone, exit code 0.
close_window() {
  local window=$1 pid=$2 status=0
  "$probe" close "$window"
  within 100 ended "$pid" || fail "the program did not end within 10 s of a close"
  reap "$pid" || status=$?
  [ "$status" -eq 0 ] || fail "the program ended with $status"
}

run_installed_as() {
  local who=$1 home="$run/home-$1" data pid window second file status=0
  data="$home/.local/share/quovella"
  mkdir -p "$home"
  chown "$who:" "$home"
  step "the installed program as $who"
  start_as "$who" "$home" "$root/usr/bin/quovella"
  pid=$started
  window=$(window_id 15000) || fail "no window as $who ($(cat "$run/program.log"))"
  for file in gp.mdb system.txt; do
    [ "$(stat -c %U "$data/$file" 2>/dev/null)" = "$who" ] ||
      fail "$data/$file is missing or does not belong to $who"
  done
  # The store is opened at start-up, so it is checked for being whole, not for its bytes.
  cmp -s "$data/system.txt" "$root/usr/share/quovella/system.txt" ||
    fail "$data/system.txt is not the package's"
  [ "$(sqlite3 -readonly "$data/gp.mdb" 'pragma integrity_check')" = ok ] ||
    fail "$data/gp.mdb is not a whole store"

  start_as "$who" "$home" "$root/usr/bin/quovella"
  second=$started
  within 100 ended "$second" || fail "a second start as $who did not end within 10 s"
  reap "$second" || status=$?
  [ "$status" -eq 0 ] || fail "a second start as $who ended with $status"
  kill -0 "$pid" 2>/dev/null || fail "the first copy ended when the second started"

  if [ "$who" = root ]; then
    # Killed outright, the copy leaves its lock behind; the next start takes over.
    kill -9 "$pid"
    reap "$pid" 2>/dev/null || true
    [ -e "$data/.quovella.lock" ] || fail "the killed copy left no lock to test with"
    within 50 gone || fail "the killed copy's window stayed"
    start_as "$who" "$home" "$root/usr/bin/quovella"
    pid=$started
    window=$(window_id 15000) || fail "a start after a killed copy showed no window"
  fi
  close_window "$window" "$pid"
}

run_installed_as "$user"
run_installed_as root
[ "$(snapshot)" = "$before" ] || fail "the program changed files under the install root:
$(diff <(echo "$before") <(snapshot) || true)"

step "the portable folder"
mkdir -p "$run/portable" "$run/home-portable"
tar -xzf "${archives[0]}" -C "$run/portable"
folder="$run/portable/$portable"
cp "$folder/system.txt" "$run/system.before"
start_as root "$run/home-portable" "$folder/quovella"
pid=$started
window=$(window_id 15000) || fail "the portable program showed no window"
[ -e "$folder/.quovella.lock" ] || fail "the portable program does not run in its own folder"
[ ! -e "$run/home-portable/.local" ] || fail "the portable program wrote into HOME"
close_window "$window" "$pid"
cmp -s "$folder/system.txt" "$run/system.before" || fail "the portable system.txt changed"

step "passed (lintian, desktop entry, AppStream, installed as $user and root, portable)"
