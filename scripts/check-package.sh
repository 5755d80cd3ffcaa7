#!/usr/bin/env bash
# The packages checked from outside. Builds them with cpack; runs lintian on each .deb
# (failing on errors), desktop-file-validate and appstreamcli on what the program's .deb
# installs; checks each package holds exactly its files. Then unpacks the program's .deb
# into a scratch root and starts it there under Xvfb, once as an ordinary user and once as
# root, each with a HOME of its own: the window appears, the user's data directory gets
# gp.mdb and system.txt, a second start ends with 0, a copy killed with SIGKILL does not
# block the next, and nothing under the scratch root changes. Then the portable folder
# runs where it is unpacked and keeps its files beside the program, and its README names
# every package the .deb depends on. Last, on a bare Debian 12 (debootstrap minbase, the
# base cached in /var/cache/quovella-check), apt installs the .deb with its dependencies
# alone; the program starts there as an ordinary user and draws its Chinese tab captions
# as glyphs; a purge leaves none of its files. Needs root.
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
expected="$portable/README
$portable/gp.mdb
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
# Xvfb keeps an image of its screen in $run/fb, read for the bare system's screenshots.
mkdir "$run/fb"
start_xvfb 121 150 -fbdir "$run/fb"

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
# What the portable README says the system must have covers what the .deb brings.
for package in $(dpkg-deb -f "$deb" Depends | tr ',|' '\n\n' | sed 's/(.*)//; s/ //g' | sort -u); do
  case $package in libc6 | libgcc-s1 | libstdc++6) continue ;; esac
  grep -qwF -- "$package" "$folder/README" ||
    fail "the portable README does not name $package, which the .deb depends on"
done


# --- a bare Debian 12 ----------------------------------------------------------------------
# apt installs the .deb on a minimal system, so whatever the program needs at run time and
# its control fields do not name is missing there, as on a user's fresh machine.
cache=/var/cache/quovella-check
base="$cache/bookworm-minbase.tar"
bare="$run/bare"
bare_user=quovella-user
shots="$build/check-package"

# Unmounts everything under the bare root, deepest first, before the scratch folder goes.
unmount_bare() {
  local point
  for point in $(awk -v under="$bare/" 'index($2, under) == 1 { print $2 }' /proc/mounts | sort -r); do
    umount "$point" 2>/dev/null || umount -l "$point" 2>/dev/null || true
  done
  ! awk -v under="$bare/" 'index($2, under) == 1 { found = 1 } END { exit !found }' /proc/mounts
}
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  if ! unmount_bare; then
    keep_run=1
    echo "check-package: could not unmount everything under $bare; $run is left in place" >&2
  fi
  finish
}
trap cleanup EXIT

# The mirror this machine's apt uses for bookworm itself.
sources=/etc/apt/sources.list.d/debian.sources
mirror=$(awk 'BEGIN { RS = ""; FS = "\n" }
  {
    uri = ""; suite = 0
    for (i = 1; i <= NF; i++) {
      n = split($i, word, " ")
      if (word[1] == "URIs:") uri = word[2]
      if (word[1] == "Suites:") for (j = 2; j <= n; j++) if (word[j] == "bookworm") suite = 1
    }
    if (suite && uri != "") { print uri; exit }
  }' "$sources" 2>/dev/null || true)
[ -n "$mirror" ] || fail "no bookworm mirror in $sources"

seconds_since() { echo $(($(date +%s) - $1)); }
started_at=$(date +%s)
step "a bare Debian 12"
mkdir -p "$cache"
if [ -s "$base" ]; then
  mkdir "$bare"
  if tar --numeric-owner -xpf "$base" -C "$bare"; then
    how="reused $base"
  else
    echo "check-package: $base does not unpack; bootstrapping again" >&2
    rm -rf "$bare" "$base"
  fi
fi
if [ ! -d "$bare" ]; then
  debootstrap --variant=minbase bookworm "$bare" "$mirror" >"$run/debootstrap.log" 2>&1 ||
    fail "debootstrap failed: $(tail -n 5 "$run/debootstrap.log")"
  # Written whole or not at all: a run cut short leaves no half a base behind.
  tar --numeric-owner -cpf "$base.$$" -C "$bare" . && mv "$base.$$" "$base" ||
    fail "could not keep the base in $base"
  how="debootstrap --variant=minbase bookworm, cached in $base"
fi
step "base: $how ($(seconds_since "$started_at") s)"

in_bare() {
  chroot "$bare" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
    DEBIAN_FRONTEND=noninteractive "$@"
}
mount -t proc proc "$bare/proc"
mount --bind /dev "$bare/dev"
# The display's socket, for the program inside.
mkdir -p "$bare/tmp/.X11-unix"
mount --bind /tmp/.X11-unix "$bare/tmp/.X11-unix"
# Downloads kept between runs; apt resolves afresh every time.
mkdir -p "$cache/archives/partial"
mount --bind "$cache/archives" "$bare/var/cache/apt/archives"
cp -L /etc/resolv.conf "$bare/etc/resolv.conf"
# The same archive areas as this machine, updates and security included.
rm -f "$bare/etc/apt/sources.list"
cp "$sources" "$bare/etc/apt/sources.list.d/"

package_file="/tmp/$(basename "$deb")"
cp "$deb" "$bare$package_file"
chmod 644 "$bare$package_file"
before_packages=$(in_bare dpkg-query -W -f='${Package}\n' | wc -l)
step "apt-get install .$package_file (no recommends: its Depends alone must do)"
{ in_bare apt-get update -q && in_bare apt-get install -y -q --no-install-recommends \
  ".$package_file"; } >"$run/bare-apt.log" 2>&1 ||
  fail "apt-get could not install the .deb on the bare system: $(tail -n 20 "$run/bare-apt.log")"
in_bare apt-get autoclean -q >/dev/null
added=$(($(in_bare dpkg-query -W -f='${Package}\n' | wc -l) - before_packages))
font_packages=$(in_bare dpkg-query -W -f='${db:Status-Abbrev} ${Package}\n' |
  awk '$1 == "ii" && $2 ~ /^fonts-(noto-cjk|wqy-microhei|wqy-zenhei)$/ { print $2 }' | tr '\n' ' ')
step "installed with $added packages; fonts with Chinese glyphs from: ${font_packages:-none}"

chinese_fonts=$(in_bare fc-list --format '%{file}\n' :lang=zh | sort -u)
[ -n "$chinese_fonts" ] || fail "fc-list :lang=zh finds no font on the bare system"
step "fc-list :lang=zh: $(echo "$chinese_fonts" | tr '\n' ' ')"

# The same system with its Chinese fonts hidden: the system's own fontconfig, which decides
# the families, hinting and fallbacks, with those font files rejected.
hidden=/tmp/no-chinese-font.conf
{
  echo '<?xml version="1.0"?>'
  echo '<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">'
  echo '<fontconfig>'
  echo '  <include>/etc/fonts/fonts.conf</include>'
  echo '  <selectfont><rejectfont>'
  for font in $chinese_fonts; do echo "    <glob>$font</glob>"; done
  echo '  </rejectfont></selectfont>'
  echo '</fontconfig>'
} >"$bare$hidden"
chmod 644 "$bare$hidden"
[ -z "$(in_bare env FONTCONFIG_FILE="$hidden" fc-list :lang=zh)" ] ||
  fail "hiding the Chinese fonts left some in sight"
[ -n "$(in_bare env FONTCONFIG_FILE="$hidden" fc-list)" ] ||
  fail "with the Chinese fonts hidden no font is left to draw with"

in_bare useradd --create-home --shell /bin/sh "$bare_user"
bare_uid=$(in_bare id -u "$bare_user")
bare_gid=$(in_bare id -g "$bare_user")
bare_home=/home/$bare_user

# The screen image Xvfb keeps (XWD): a header of 32-bit big-endian fields, a colour map of
# 12 bytes an entry, then rows of 32-bit pixels. Prints the pixels of the rectangle $1 $2
# (left, top), $3 x $4.
screen_rectangle() {
  local screen="$run/fb/Xvfb_screen0" field offset row
  read -r -a field <<<"$(od -An -v -t u4 --endian=big -N 100 "$screen" | tr -s ' \n' '  ')"
  [ "${field[11]}" = 32 ] || fail "the screen image has ${field[11]} bits a pixel, not 32"
  offset=$((field[0] + field[19] * 12))
  for ((row = $2; row < $2 + $4; row++)); do
    dd if="$screen" iflag=skip_bytes,count_bytes skip=$((offset + row * field[12] + $1 * 4)) \
      count=$(($3 * 4)) status=none
  done
}

distinct_pixels() { od -An -v -t x4 -w4 "$1" | sort -u | wc -l; }

# Starts the installed program as the bare system's user, with the environment given, and
# leaves in $1 the strip of its window that holds the tab captions once painting settles;
# then closes it.
captions_as_drawn() {
  local out=$1 pid window left top
  shift
  # setpriv execs, so the process id is the program's.
  chroot "$bare" setpriv --reuid="$bare_uid" --regid="$bare_gid" --init-groups env -i \
    HOME="$bare_home" DISPLAY="$DISPLAY" PATH=/usr/bin:/bin "$@" /usr/bin/quovella \
    >>"$run/bare-program.log" 2>&1 &
  pid=$!
  pids+=("$pid")
  window=$(window_id 15000) || fail "no window on the bare system ($(cat "$run/bare-program.log"))"
  left=$(xwininfo -id "$window" | awk '/Absolute upper-left X:/ { print $NF }')
  top=$(xwininfo -id "$window" | awk '/Absolute upper-left Y:/ { print $NF }')
  # The tab bar: the top 22 rows of the window, wide enough for its three captions. Read
  # until it holds something and two reads agree.
  screen_rectangle "$left" "$top" 240 22 >"$out"
  for _ in $(seq 1 50); do
    sleep 0.2
    screen_rectangle "$left" "$top" 240 22 >"$out.next"
    if cmp -s "$out" "$out.next" && [ "$(distinct_pixels "$out")" -gt 1 ]; then break; fi
    mv "$out.next" "$out"
  done
  mkdir -p "$shots"
  cp "$run/fb/Xvfb_screen0" "$shots/$(basename "$out").xwd"
  close_window "$window" "$pid"
}

step "the installed program as $bare_user on the bare system"
captions_as_drawn "$run/bare-captions"
data="$bare$bare_home/.local/share/quovella"
[ "$(stat -c %u "$data/system.txt" 2>/dev/null)" = "$bare_uid" ] ||
  fail "the bare system's user got no $bare_home/.local/share/quovella/system.txt"
captions_as_drawn "$run/bare-captions-no-chinese-font" FONTCONFIG_FILE="$hidden"
colours=$(distinct_pixels "$run/bare-captions")
[ "$colours" -gt 1 ] || fail "the tab captions are a blank strip"
if cmp -s "$run/bare-captions" "$run/bare-captions-no-chinese-font"; then
  fail "the tab captions look the same with the Chinese fonts hidden: no glyphs are drawn"
fi
changed=$({ cmp -l "$run/bare-captions" "$run/bare-captions-no-chinese-font" || true; } |
  awk '{ print int(($1 - 1) / 4) }' | uniq | wc -l)
step "tab captions: $colours colours; $changed of $((240 * 22)) pixels differ with the Chinese fonts hidden (screens in $shots)"

step "apt-get purge quovella"
in_bare dpkg-query -L quovella | grep -vx '/\.' >"$run/bare-files"
in_bare apt-get purge -y -q quovella >>"$run/bare-apt.log" 2>&1 ||
  fail "apt-get could not purge the package: $(tail -n 20 "$run/bare-apt.log")"
left=()
while read -r path; do
  [ -e "$bare$path" ] || [ -L "$bare$path" ] || continue
  # A folder another package owns too stays.
  if [ -d "$bare$path" ] && [ ! -L "$bare$path" ] && in_bare dpkg-query -S "$path" >/dev/null 2>&1; then
    continue
  fi
  left+=("$path")
done <"$run/bare-files"
[ ${#left[@]} -eq 0 ] || fail "the purge left the package's ${left[*]}"
[ -d "$data" ] || fail "the purge removed the user's data directory"
step "purged: none of its $(wc -l <"$run/bare-files") paths remain but folders other packages own; $bare_home/.local/share/quovella stays, the user's own"

step "passed (lintian, desktop entry, AppStream, installed as $user and root, portable, bare Debian 12 in $(seconds_since "$started_at") s)"
