#!/usr/bin/env bash
# Requests per second on loopback: tern-file-server against libmicrohttpd (bench_tern_peer),
# both serving the same 16-byte file with keep-alive, measured with wrk in the same run.
# Usage: bench/tern_wrk.sh [BUILD-DIR] [SECONDS]   (an optimised build: RelWithDebInfo or Release)
set -euo pipefail
build="${1:-build-release}"
secs="${2:-10}"
command -v wrk >/dev/null || { echo "wrk is not installed"; exit 1; }
work=$(mktemp -d)
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; wait 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
echo "hello from tern" > "$work/hello.txt"

start() {  # start NAME COMMAND...; sets port
  local name=$1; shift
  "$@" > "$work/$name.out" 2>&1 &
  pids+=($!)
  for _ in $(seq 100); do grep -q listening "$work/$name.out" && break; sleep 0.05; done
  port=$(sed -n 's/.*127\.0\.0\.1:\([0-9]*\)$/\1/p' "$work/$name.out")
}
start tern "$build/bin/tern-file-server" --port 0 --root "$work"
tern_port=$port
start peer "$build/bin/bench_tern_peer" "$work/hello.txt" 0 2
peer_port=$port

run() {  # run NAME PORT CONNECTIONS THREADS -> "requests/s mean-latency errors"
  local out
  out=$(wrk -t"$4" -c"$3" -d"${secs}s" --latency "http://127.0.0.1:$2/hello.txt")
  local rps lat errs
  rps=$(awk '/Requests\/sec/ {print $2}' <<<"$out")
  lat=$(awk '/^    Latency/ {print $2}' <<<"$out")
  errs=$(awk '/Socket errors|Non-2xx/ {printf "%s ", $0}' <<<"$out")
  printf "%-6s c=%-3s %12s req/s  mean latency %-9s %s\n" "$1" "$3" "$rps" "$lat" "${errs:-no errors}"
  echo "$rps" > "$work/$1-$3.rps"
}
for conns in 1 50; do
  threads=$([ "$conns" -eq 1 ] && echo 1 || echo 2)
  run tern "$tern_port" "$conns" "$threads"
  run peer "$peer_port" "$conns" "$threads"
  awk -v a="$(cat "$work/tern-$conns.rps")" -v b="$(cat "$work/peer-$conns.rps")" \
      'BEGIN { printf "ratio tern/peer with %d connections: %.2f\n", '"$conns"', a / b }'
done
