#!/usr/bin/env bash
# Real clients against the example server: curl's Digest, chunked and deflate handling.
# Usage: file_server_curl.sh PATH-TO-tern-file-server   (exit 77 = skipped)
set -u
server="$1"
command -v curl >/dev/null || { echo "curl not installed: skipped"; exit 77; }

work=$(mktemp -d)
pid=""
cleanup() { [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
failures=0
check() {  # check NAME EXPECTED ACTUAL
  if [ "$2" == "$3" ]; then echo "ok   $1"; else echo "FAIL $1: expected '$2', got '$3'"; failures=$((failures + 1)); fi
}

mkdir -p "$work/root"
echo "hello from tern" > "$work/root/hello.txt"
head -c 30000 /dev/urandom | od -An -tx1 > "$work/root/big.txt"

start() {  # start [server options...]
  [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  rm -f "$work/out"  # else the previous server's line may be read before the new one truncates it
  "$server" --port 0 --root "$work/root" "$@" > "$work/out" 2>&1 &
  pid=$!
  for _ in $(seq 100); do grep -q listening "$work/out" && break; sleep 0.05; done
  port=$(sed -n 's/.*127\.0\.0\.1:\([0-9]*\)$/\1/p' "$work/out")
  [ -n "$port" ] || { echo "server did not start"; cat "$work/out"; exit 1; }
  url="http://127.0.0.1:$port"
}
c() { curl -s --max-time 10 "$@"; }

start
check "plain GET" "$(cat "$work/root/big.txt")" "$(c "$url/big.txt")"
check "missing file" "404" "$(c -o /dev/null -w '%{http_code}' "$url/none.txt")"
check "path outside root" "400" "$(c -o /dev/null -w '%{http_code}' --path-as-is "$url/../etc/passwd")"
check "keep-alive reuse" "1" "$(c -v "$url/hello.txt" "$url/big.txt" -o /dev/null -o /dev/null 2>&1 | grep -c "Re-using existing")"
long=$(head -c 9000 /dev/zero | tr '\0' x)
check "head over 8192 bytes answered 431" "431" "$(c -o /dev/null -w '%{http_code}' -H "X-Long: $long" "$url/hello.txt")"
check "served after a bad head" "hello from tern" "$(c "$url/hello.txt")"
check "HEAD gives the length" "1" "$(c -I "$url/big.txt" | grep -c "^Content-Length: $(stat -c %s "$work/root/big.txt")")"
# curl asks for 100 Continue above 1 MB and waits a second for it before sending anyway.
head -c 2000000 /dev/urandom > "$work/two-mb.bin"
check "2 MB upload answered 100 Continue" "1" "$(c -v -T "$work/two-mb.bin" "$url/two-mb.bin" 2>&1 | grep -c '< HTTP/1.1 100 Continue')"
check "2 MB upload stored" "$(md5sum < "$work/two-mb.bin")" "$(md5sum < "$work/root/two-mb.bin")"

start --chunked
check "chunked header" "1" "$(c -D - -o /dev/null "$url/big.txt" | grep -ci '^Transfer-Encoding: chunked')"
check "chunked body" "$(cat "$work/root/big.txt")" "$(c "$url/big.txt")"
check "chunked empty echo" "" "$(c --data-binary '' "$url/echo")"

start --deflate
check "deflate header" "1" "$(c --compressed -D - -o /dev/null "$url/big.txt" | grep -ci '^Content-Encoding: deflate')"
check "deflate body" "$(cat "$work/root/big.txt")" "$(c --compressed "$url/big.txt")"
check "no deflate unless accepted" "0" "$(c -D - -o /dev/null "$url/big.txt" | grep -ci '^Content-Encoding')"

start --realm files --user alice --password 's3cret!'
check "digest GET" "hello from tern" "$(c --digest -u 'alice:s3cret!' "$url/hello.txt")"
check "digest wrong password" "401" "$(c -o /dev/null -w '%{http_code}' --digest -u 'alice:wrong' "$url/hello.txt")"
check "digest wrong user" "401" "$(c -o /dev/null -w '%{http_code}' --digest -u 'bob:s3cret!' "$url/hello.txt")"
check "no credentials" "401" "$(c -o /dev/null -w '%{http_code}' "$url/hello.txt")"
check "basic refused" "401" "$(c -o /dev/null -w '%{http_code}' --basic -u 'alice:s3cret!' "$url/hello.txt")"
check "digest 2 MB upload without waiting" "201 0" "$(c -v -o /dev/null -w '%{http_code}' --digest -u 'alice:s3cret!' -T "$work/two-mb.bin" "$url/two-digest.bin" 2>"$work/log"; echo " $(grep -c 'Done waiting for 100-continue' "$work/log")")"
check "digest PUT" "201" "$(c -o /dev/null -w '%{http_code}' --digest -u 'alice:s3cret!' -T "$work/root/hello.txt" "$url/copy.txt")"
check "stored file" "hello from tern" "$(cat "$work/root/copy.txt" 2>/dev/null)"
check "digest POST echo" "posted body" "$(c --digest -u 'alice:s3cret!' --data-binary 'posted body' "$url/echo")"
check "chunked upload refused" "411" "$(echo data | c -o /dev/null -w '%{http_code}' --digest -u 'alice:s3cret!' -T - "$url/x.txt")"
check "nothing stored from it" "no" "$([ -e "$work/root/x.txt" ] && echo yes || echo no)"

echo "$((25 - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
