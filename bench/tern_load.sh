#!/usr/bin/env bash
# Load and abuse checks of tern-file-server on loopback, run by hand (not in ctest):
#   1. wrk with 200 connections (75 workers): errors, a probe answered at once afterwards,
#      resident memory after each of three runs, and how long stopping takes.
#   2. slowhttptest with 100 slow-header connections while a probe asks every second.
#   3. garbage bytes and an oversized head next to a kept-alive client.
#   4. a second server with 2 workers, held by 2 clients that trickle request bodies, then
#      by 2 chatty clients (a request every 0.5 s on kept-alive connections): how long a
#      newcomer waits for its answer (the aim is under 3 s).
# Usage: bench/tern_load.sh [BUILD-DIR] [WRK-SECONDS]
set -uo pipefail
build="${1:-build-release}"
secs="${2:-30}"
work=$(mktemp -d)
pid=""
cleanup() { [ -n "$pid" ] && kill "$pid" 2>/dev/null; wait 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
echo "hello from tern" > "$work/hello.txt"
"$build/bin/tern-file-server" --port 0 --root "$work" > "$work/out" 2>&1 &
pid=$!
for _ in $(seq 100); do grep -q listening "$work/out" && break; sleep 0.05; done
port=$(sed -n 's/.*127\.0\.0\.1:\([0-9]*\)$/\1/p' "$work/out")
url="http://127.0.0.1:$port/hello.txt"
probe() { curl -s -o /dev/null -w "%{http_code} in %{time_total}s" --max-time 10 "$url"; }
rss() { awk '/VmRSS/ {print $2 " kB"}' "/proc/$pid/status"; }

echo "== wrk, 200 connections, ${secs}s, three runs"
for run in 1 2 3; do
  wrk -t2 -c200 -d"${secs}s" --timeout 5s "$url" | grep -E "Requests/sec|Socket errors|Non-2xx|requests in"
  echo "probe after run $run: $(probe); server RSS $(rss)"
done

echo "== slowhttptest: 100 slow-header connections for 30s, probe every second"
slowhttptest -H -c 100 -r 100 -i 5 -l 30 -u "$url" -p 3 > "$work/slow.log" 2>&1 &
slow=$!
sleep 3
ok=0; worst=0
for i in $(seq 20); do
  r=$(probe); [[ "$r" == 200* ]] && ok=$((ok + 1))
  t=${r##* in }; t=${t%s}
  worst=$(awk -v a="$worst" -v b="$t" 'BEGIN { print (b > a) ? b : a }')
  sleep 1
done
wait "$slow"
echo "probes answered during the attack: $ok of 20, slowest ${worst}s"
grep -E "service available|closed|pending|connected" "$work/slow.log" | tail -4

echo "== garbage and an oversized head beside a kept-alive client"
exec 3<>"/dev/tcp/127.0.0.1/$port"
printf 'GET /hello.txt HTTP/1.1\r\n\r\n' >&3
head -c 4096 /dev/urandom | curl -s -o /dev/null --max-time 3 telnet://127.0.0.1:$port; echo "garbage client: curl exit $? (0: answered 400 and closed)"
echo "oversized head: status $(curl -s -o /dev/null -w '%{http_code}' --max-time 3 -H "X: $(head -c 9000 /dev/zero | tr '\0' x)" "$url") (431 expected)"
printf 'GET /hello.txt HTTP/1.1\r\n\r\n' >&3
timeout 2 cat <&3 | grep -c "HTTP/1.1 200" | sed 's/^/kept-alive client got answers: /'
exec 3>&-

echo "== starvation: 2 workers, 2 attacking clients, newcomers probe every second"
# attack PORT slow|chatty: two clients that hold workers, reconnecting whenever cut off.
attack() {
  python3 - "$1" "$2" <<'PY'
import socket, sys, threading, time
port, kind = int(sys.argv[1]), sys.argv[2]
def slow():
    s = socket.create_connection(("127.0.0.1", port))
    s.sendall(b"PUT /slow.bin HTTP/1.1\r\nContent-Length: 10000000\r\n\r\n")
    while True:
        s.sendall(b"x")
        time.sleep(0.2)
def chatty():
    s = socket.create_connection(("127.0.0.1", port))
    while True:
        s.sendall(b"GET /hello.txt HTTP/1.1\r\n\r\n")
        if not s.recv(4096):
            raise ConnectionError
        time.sleep(0.5)
def forever(work):
    while True:
        try:
            work()
        except OSError:
            time.sleep(0.05)
for _ in range(2):
    threading.Thread(target=forever, args=(slow if kind == "slow" else chatty,), daemon=True).start()
time.sleep(3600)
PY
}
for kind in slow chatty; do
  rm -f "$work/out2"
  "$build/bin/tern-file-server" --port 0 --root "$work" --workers 2 > "$work/out2" 2>&1 &
  spid=$!
  for _ in $(seq 100); do grep -q listening "$work/out2" && break; sleep 0.05; done
  port2=$(sed -n 's/.*127\.0\.0\.1:\([0-9]*\)$/\1/p' "$work/out2")
  attack "$port2" "$kind" &
  apid=$!
  sleep 2
  waits=""; worst=0; ok=0
  for i in $(seq 10); do
    r=$(curl -s -o /dev/null -w "%{http_code} %{time_total}" --max-time 10 "http://127.0.0.1:$port2/hello.txt")
    [[ "$r" == 200* ]] && ok=$((ok + 1))
    t=${r#* }; waits="$waits $t"
    worst=$(awk -v a="$worst" -v b="$t" 'BEGIN { print (b > a) ? b : a }')
    sleep 1
  done
  kill "$apid" "$spid" 2>/dev/null; wait "$apid" "$spid" 2>/dev/null
  echo "$kind clients: newcomers answered $ok of 10, longest wait ${worst}s (waits:$waits)"
done

echo "== stop"
start=$(date +%s.%N)
kill -TERM "$pid"; wait "$pid"; pid=""
echo "stopped in $(awk -v s="$start" -v e="$(date +%s.%N)" 'BEGIN { printf "%.3f", e - s }')s"
