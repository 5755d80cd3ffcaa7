#!/usr/bin/env bash
# The real program end to end, checked from outside: built with its quote URL on a test
# port, copied into a fresh run directory with a "system.txt" and an empty "gp.mdb" holding
# one purchase, run under Xvfb against quovella-feed.
#   scripts/e2e.sh BUILD_DIR
set -euo pipefail
build="$(cd "${1:?usage: scripts/e2e.sh BUILD_DIR}" && pwd)"
bin="$build/bin"
agent='Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)'

name=e2e
. "$(dirname "$0")/real_program.sh"
port=$(quote_port "$build")

fail() {
  echo "e2e: $*" >&2
  [ -f "$run/requests.log" ] && sed 's/^/  request: /' "$run/requests.log" >&2
  exit 1
}

cp "$bin/quovella" "$run/"
printf 'sh600887\r\nsz000001\r\nsh600519\r\n' >"$run/system.txt"
cp "$run/system.txt" "$run/system.before"
"$bin/quovella-mkstore" "$run/gp.mdb"
sqlite3 "$run/gp.mdb" "insert into cy(购买日期,股票代码,股票名称,购买股数,购买价,总价)
  values('2020-08-27','sz300750','宁德时代','100','30.10','3010');"

"$bin/quovella-feed" --port "$port" --log "$run/requests.log" >/dev/null &
pids+=($!)
within 50 bash -c "exec 3<>/dev/tcp/127.0.0.1/$port" 2>/dev/null || fail "the feed did not start"

start_xvfb 90 120

"$run/quovella" >"$run/program.log" 2>&1 &
program=$!
pids+=("$program")
window=$("$bin/quovella-window-probe" find Quovella_V20200827 10000) ||
  fail "the window did not appear"

# Start-up asks for every code in one request, then the refresh asks row by row; the
# holding's code, which no row watches, is the revaluation's.
watched() { grep -v sz300750 "$run/requests.log" 2>/dev/null || true; }
rows() { [ "$(watched | wc -l)" -ge 4 ]; }
within 150 rows || fail "fewer than four watch requests in 15 s"
expected="GET /list=sh600887,sz000001,sh600519 HTTP/1.0	$agent
GET /list=sh600887 HTTP/1.0	$agent
GET /list=sz000001 HTTP/1.0	$agent
GET /list=sh600519 HTTP/1.0	$agent"
[ "$(watched | head -n 4)" = "$expected" ] || fail "the watch requests differ from the protocol"
grep -qx "GET /list=sz300750 HTTP/1.0	$agent" "$run/requests.log" ||
  fail "the holding's price was never asked for"

revalued() { [ -n "$(sqlite3 "$run/gp.mdb" "select 现价 from cy where id = 1")" ]; }
within 100 revalued || fail "the holding was not revalued in cy within 10 s"
# In the C form under any locale (test.sh runs this again under de_DE.UTF-8, decimal comma).
number='-?[0-9]+(\.[0-9]+)?(e[-+][0-9]+)?'
stored=$(sqlite3 "$run/gp.mdb" "select 现价 || ' ' || 盈亏金额 || ' ' || 盈亏率 from cy where id = 1")
printf '%s\n' "$stored" | grep -Ex -e "$number $number $number" >/dev/null ||
  fail "the revaluation stored numbers not in the C form: $stored"

pings=$("$bin/quovella-window-probe" ping "$window" 200 5) || fail "the window stopped answering"
echo "e2e: $pings"
read -r p99 longest <<<"$(printf '%s' "$pings" | sed -n 's/.*p99 \([0-9.]*\) ms, max \([0-9.]*\) ms/\1 \2/p')"
awk -v p="$p99" -v m="$longest" 'BEGIN { exit !(p <= 16 && m <= 50) }' ||
  fail "pings too slow: $pings"

now_ms() { echo $(($(date +%s%N) / 1000000)); }
closed() { ! kill -0 "$program" 2>/dev/null; }
# One close, timed from the moment it is sent to the end of the process; the command after
# the name runs right after the close is sent.
close_and_time() {
  local what=$1 began
  shift
  began=$(now_ms)
  "$bin/quovella-window-probe" close "$window"
  "$@"
  within 30 closed || fail "$what: one close did not end the program within 3 s"
  close_ms=$(($(now_ms) - began))
  [ "$close_ms" -lt 2000 ] || fail "$what: the close took $close_ms ms"
  local status=0
  wait "$program" || status=$?
  [ "$status" -eq 0 ] || fail "$what: the program ended with $status"
}
close_and_time "the close" true
echo "e2e: close to the process's end: $close_ms ms"

# Another program holds gp.mdb's write lock (an open transaction of the sqlite3 shell) while
# the holding revalues. One close still ends the program within 2 s, and a start right after
# it shows a window of its own.
"$run/quovella" >>"$run/program.log" 2>&1 &
program=$!
pids+=("$program")
window=$("$bin/quovella-window-probe" find Quovella_V20200827 10000) ||
  fail "the window did not appear again"
mkfifo "$run/locker.sql"
sqlite3 "$run/gp.mdb" <"$run/locker.sql" >/dev/null 2>&1 &
pids+=($!)
exec 4>"$run/locker.sql"
echo "begin immediate; insert into sj(股票代码) values('locker');" >&4
locked() { ! sqlite3 "$run/gp.mdb" 'begin immediate; rollback;' 2>/dev/null; }
within 50 locked || fail "the second connection did not take the write lock"
sleep 3 # three revaluation passes queue their updates behind the lock
start_again() {
  "$run/quovella" >>"$run/second.log" 2>&1 4>&- &
  second=$!
  pids+=("$second")
}
close_and_time "the close under the lock" start_again
echo "e2e: close to the process's end, under another program's lock: $close_ms ms"
program=$second
window=$("$bin/quovella-window-probe" find Quovella_V20200827 10000) ||
  fail "the start right after the close showed no window"
kill -0 "$program" 2>/dev/null || fail "the start right after the close ended"
exec 4>&- # the shell reads its end and rolls back
unlocked() { ! locked; }
within 50 unlocked || fail "the second connection kept the write lock"
close_and_time "the second start's close" true

cmp -s "$run/system.txt" "$run/system.before" || fail "system.txt changed"
[ "$(sqlite3 "$run/gp.mdb" 'pragma integrity_check')" = ok ] || fail "gp.mdb is damaged"
[ "$(sqlite3 "$run/gp.mdb" 'select count(*) from cy')" = 1 ] || fail "the holding is gone"
echo "e2e: passed (requests, revaluation $stored, pings, close within 2 s with and without" \
  "another program's lock, a start right after a close shows its window, files whole)"
