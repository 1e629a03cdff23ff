#!/usr/bin/env bash
# KvHttpClient (through tern-fetch) against servers of other projects on loopback:
# Python's http.server (plain bodies), nginx (chunked bodies, made by sub_filter) and
# Apache httpd with mod_auth_digest (Digest authorization). A server that is not
# installed is skipped; with none installed the whole test is skipped (exit 77).
# Usage: client_real_servers.sh PATH-TO-tern-fetch
set -u
fetch="$1"
work=$(mktemp -d)
chmod 755 "$work"
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done; wait 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
failures=0; passed=0; ran=0
check() {  # check NAME EXPECTED ACTUAL (long texts are shown by their MD5)
  if [ "$2" == "$3" ]; then echo "ok   $1"; passed=$((passed + 1)); return; fi
  failures=$((failures + 1))
  if [ ${#2} -gt 200 ] || [ ${#3} -gt 200 ]; then
    echo "FAIL $1: expected $(md5sum <<<"$2" | cut -c1-12) (${#2} bytes), got $(md5sum <<<"$3" | cut -c1-12) (${#3} bytes): ${3:0:120}"
  else
    echo "FAIL $1: expected '$2', got '$3'"
  fi
}
free_port() { python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'; }
wait_port() { for _ in $(seq 100); do (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null && return 0; sleep 0.05; done; return 1; }

mkdir -p "$work/root/sub"
echo "hello from tern" > "$work/root/hello.txt"
head -c 40000 /dev/urandom | od -An -tx1 > "$work/root/big.txt"
for i in $(seq 2000); do echo "line $i of tern text"; done > "$work/root/sub/lines.txt"
chmod -R a+rX "$work/root"

if command -v python3 >/dev/null; then
  ran=1
  port=$(free_port)
  python3 -m http.server "$port" --bind 127.0.0.1 --directory "$work/root" >/dev/null 2>&1 &
  pids+=($!)
  wait_port "$port"
  check "python plain body" "$(cat "$work/root/big.txt")" "$("$fetch" "http://127.0.0.1:$port/big.txt" 2>/dev/null)"
  check "python status line" "status 200, body complete" "$("$fetch" "http://127.0.0.1:$port/hello.txt" 2>&1 >/dev/null)"
  check "python 404" "status 404, body complete" "$("$fetch" "http://127.0.0.1:$port/none" 2>&1 >/dev/null)"
else echo "skip python3: not installed"; fi

if command -v nginx >/dev/null; then
  ran=1
  port=$(free_port)
  mkdir -p "$work/nginx"
  cat > "$work/nginx/nginx.conf" <<CONF
daemon off; master_process off; worker_processes 1;
pid $work/nginx/nginx.pid; error_log $work/nginx/error.log;
events { worker_connections 64; }
http {
  access_log off;
  client_body_temp_path $work/nginx/body; proxy_temp_path $work/nginx/proxy;
  fastcgi_temp_path $work/nginx/fastcgi; uwsgi_temp_path $work/nginx/uwsgi; scgi_temp_path $work/nginx/scgi;
  server {
    listen 127.0.0.1:$port;
    root $work/root;
    location /sub/ { sub_filter 'tern' 'TERN'; sub_filter_once off; sub_filter_types *; }
  }
}
CONF
  nginx -e "$work/nginx/error.log" -p "$work/nginx" -c "$work/nginx/nginx.conf" &
  pids+=($!)
  wait_port "$port"
  check "nginx sends chunked" "1" "$(curl -s -D - -o /dev/null "http://127.0.0.1:$port/sub/lines.txt" | grep -ci '^Transfer-Encoding: chunked')"
  check "nginx chunked body" "$(sed 's/tern/TERN/g' "$work/root/sub/lines.txt")" "$("$fetch" "http://127.0.0.1:$port/sub/lines.txt" 2>/dev/null)"
  check "nginx plain body" "$(cat "$work/root/big.txt")" "$("$fetch" "http://127.0.0.1:$port/big.txt" 2>/dev/null)"
else echo "skip nginx: not installed"; fi

if command -v apache2 >/dev/null && [ -e /usr/lib/apache2/modules/mod_auth_digest.so ]; then
  ran=1
  port=$(free_port)
  mkdir -p "$work/apache"
  echo "alice:tern:$(printf 'alice:tern:s3cret' | md5sum | cut -d' ' -f1)" > "$work/apache/digest"
  chmod 644 "$work/apache/digest"
  m=/usr/lib/apache2/modules
  cat > "$work/apache/httpd.conf" <<CONF
ServerRoot "$work/apache"
ServerName 127.0.0.1
Listen 127.0.0.1:$port
PidFile $work/apache/httpd.pid
DefaultRuntimeDir $work/apache
ErrorLog $work/apache/error.log
User nobody
Group nogroup
LoadModule mpm_event_module $m/mod_mpm_event.so
LoadModule authn_core_module $m/mod_authn_core.so
LoadModule authn_file_module $m/mod_authn_file.so
LoadModule authz_core_module $m/mod_authz_core.so
LoadModule authz_user_module $m/mod_authz_user.so
LoadModule auth_digest_module $m/mod_auth_digest.so
DocumentRoot "$work/root"
<Directory "$work/root">
  AuthType Digest
  AuthName "tern"
  AuthDigestProvider file
  AuthUserFile "$work/apache/digest"
  Require valid-user
</Directory>
CONF
  apache2 -X -f "$work/apache/httpd.conf" &
  pids+=($!)
  wait_port "$port"
  url="http://127.0.0.1:$port/hello.txt"
  check "apache digest" "hello from tern" "$("$fetch" --user alice --password s3cret "$url" 2>/dev/null)"
  check "apache digest, wrong password" "status 401, body complete" "$("$fetch" --user alice --password wrong "$url" 2>&1 >/dev/null)"
  check "apache without credentials" "status 401, body complete" "$("$fetch" "$url" 2>&1 >/dev/null)"
  check "apache digest, larger body" "$(cat "$work/root/big.txt")" "$("$fetch" --user alice --password s3cret "http://127.0.0.1:$port/big.txt" 2>/dev/null)"
  [ "$failures" -eq 0 ] || tail -5 "$work/apache/error.log"
else echo "skip apache2: not installed"; fi

[ "$ran" -eq 1 ] || { echo "no server installed: skipped"; exit 77; }
echo "$passed passed, $failures failed"
[ "$failures" -eq 0 ]
