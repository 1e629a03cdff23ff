#!/usr/bin/env python3
"""The example file server probed as an attacker would, with raw bytes on loopback.

Usage: file_server_attacks.py PATH-TO-tern-file-server
"""
import hashlib
import os
import re
import socket
import subprocess
import sys
import tempfile
import time

SERVER = sys.argv[1]
failures = 0


def check(name, ok, detail=""):
    global failures
    print(("ok   " if ok else "FAIL ") + name + ("" if ok else ": " + str(detail)[:300]))
    if not ok:
        failures += 1


class Server:
    def __init__(self, root, *options):
        self.proc = subprocess.Popen([SERVER, "--port", "0", "--root", root, *options],
                                     stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        line = self.proc.stdout.readline()
        self.port = int(re.search(r":(\d+)$", line.strip()).group(1))

    def stop(self):
        self.proc.terminate()
        self.proc.wait(10)

    def rss_kb(self):
        with open("/proc/%d/status" % self.proc.pid) as f:
            return int(re.search(r"VmRSS:\s+(\d+)", f.read()).group(1))

    def connect(self):
        return socket.create_connection(("127.0.0.1", self.port), timeout=5)


def exchange(sock, data, quiet=1.0):
    """Sends data and reads until the server closes or stays quiet; (bytes, closed)."""
    if data:
        sock.sendall(data)
    sock.settimeout(quiet)
    out = b""
    try:
        while True:
            piece = sock.recv(65536)
            if not piece:
                return out, True
            out += piece
    except socket.timeout:
        return out, False
    except ConnectionResetError:
        return out, True


def statuses(data):
    return re.findall(rb"HTTP/1\.1 (\d{3}) ", data)


def md5(text):
    return hashlib.md5(text if isinstance(text, bytes) else text.encode()).hexdigest()


def challenge_of(server, path="/hello.txt"):
    with server.connect() as s:
        out, _ = exchange(s, b"GET %s HTTP/1.1\r\n\r\n" % path.encode())
    params = dict(re.findall(r'(\w+)="([^"]*)"', out.decode(errors="replace")))
    return params


def digest_head(method, path, params, user, password, nc=1, qop="auth", body=b"", opaque=None, extra=""):
    ha1 = md5("%s:%s:%s" % (user, params["realm"], password))
    ha2 = md5("%s:%s" % (method, path)) if qop != "auth-int" else md5("%s:%s:%s" % (method, path, md5(body)))
    cnonce = "c0ffee"
    if qop:
        response = md5("%s:%s:%08x:%s:%s:%s" % (ha1, params["nonce"], nc, cnonce, qop, ha2))
        q = ', qop=%s, nc=%08x, cnonce="%s"' % (qop, nc, cnonce)
    else:
        response = md5("%s:%s:%s" % (ha1, params["nonce"], ha2))
        q = ""
    op = params.get("opaque", "") if opaque is None else opaque
    auth = 'Digest username="%s", realm="%s", nonce="%s", uri="%s", response="%s", opaque="%s"%s' % (
        user, params["realm"], params["nonce"], path, response, op, q)
    head = "%s %s HTTP/1.1\r\nAuthorization: %s\r\nContent-Length: %d\r\n%s\r\n" % (
        method, path, auth, len(body), extra)
    return head.encode() + body


def plain_server_checks(work):
    root = os.path.join(work, "root")
    server = Server(root, "--max-body-bytes", "1000000")
    try:
        # 1. Header names in any case: the body is the body, not a second request.
        smuggled = b"GET /hello.txt HTTP/1.1\r\n\r\n"
        with server.connect() as s:
            out, _ = exchange(s, b"PUT /up.txt HTTP/1.1\r\ncontent-length: %d\r\n\r\n" % len(smuggled) + smuggled)
        check("lower-case content-length: one answer", statuses(out) == [b"201"], out)
        check("lower-case content-length: body stored",
              open(os.path.join(root, "up.txt"), "rb").read() == smuggled if os.path.exists(
                  os.path.join(root, "up.txt")) else False)
        with server.connect() as s:
            out, closed = exchange(s, b"PUT /te.txt HTTP/1.1\r\nContent-Length: 5\r\n"
                                      b"transfer-encoding: chunked\r\n\r\n0\r\n\r\nGET /hello.txt HTTP/1.1\r\n\r\n")
        check("length and transfer coding together: 400 and close", statuses(out) == [b"400"] and closed, out)

        # 2. A GET's body is not served as the next request.
        with server.connect() as s:
            out, _ = exchange(s, b"GET /hello.txt HTTP/1.1\r\nContent-Length: %d\r\n\r\n" % len(smuggled) + smuggled)
        check("GET body discarded", len(statuses(out)) == 1, out)

        # 6. Declared lengths are not allocated up front, and the limit answers 413.
        before = server.rss_kb()
        holders = []
        for _ in range(8):
            s = server.connect()
            s.sendall(b"PUT /big.bin HTTP/1.1\r\nContent-Length: 999000\r\n\r\n" + b"x" * 1000)
            holders.append(s)
        time.sleep(0.5)
        grown = server.rss_kb() - before
        for s in holders:
            s.close()
        check("declared bodies cost no memory up front", grown < 4000, "%d kB more" % grown)
        with server.connect() as s:
            out, closed = exchange(s, b"PUT /big.bin HTTP/1.1\r\nContent-Length: 1000001\r\n\r\n")
        check("body over the limit: 413 and close", statuses(out) == [b"413"] and closed, out)

        # 8. No way out of the root through a symbolic link; the URI limit answers 414.
        with server.connect() as s:
            out, _ = exchange(s, b"GET /outside/secret.txt HTTP/1.1\r\n\r\n")
        check("symbolic link out of the root not followed",
              b"top secret" not in out and statuses(out) in ([b"403"], [b"404"]), out)
        with server.connect() as s:
            exchange(s, b"PUT /outside/planted.txt HTTP/1.1\r\nContent-Length: 2\r\n\r\nhi")
        check("no upload through a symbolic link", not os.path.exists(os.path.join(work, "outside", "planted.txt")))
        with server.connect() as s:
            out, closed = exchange(s, b"GET /" + b"a" * 4094 + b" HTTP/1.1\r\n\r\n")
        check("URI at the limit: 414 and close", statuses(out) == [b"414"] and closed, out)

        # Issue 16: HEAD gives the GET's headers without a body; 100 Continue when asked.
        with server.connect() as s:
            out, closed = exchange(s, b"HEAD /hello.txt HTTP/1.1\r\n\r\nGET /hello.txt HTTP/1.1\r\n\r\n")
        check("HEAD answers with the length and no body, then GET follows",
              statuses(out) == [b"200", b"200"] and out.count(b"Content-Length: 16\r\n") == 2
              and out.count(b"hello from tern") == 1 and not closed, out)
        with server.connect() as s:
            first, _ = exchange(s, b"PUT /c.txt HTTP/1.1\r\nContent-Length: 3\r\nExpect: 100-continue\r\n\r\n", 0.5)
            rest, _ = exchange(s, b"abc", 0.5)
        check("100 Continue before the body", first == b"HTTP/1.1 100 Continue\r\n\r\n" and
              statuses(rest) == [b"201"], first + rest)
    finally:
        server.stop()


def digest_server_checks(work):
    root = os.path.join(work, "root")
    server = Server(root, "--realm", "files", "--user", "alice", "--password", "s3cret")
    try:
        p = challenge_of(server)
        check("challenge offers auth and auth-int", "auth" in p.get("qop", "").split(",") and "opaque" in p, p)

        def status(head):
            with server.connect() as s:
                out, _ = exchange(s, head, 0.5)
            found = statuses(out)
            return found[0] if found else out

        check("a proper answer passes", status(digest_head("GET", "/hello.txt", p, "alice", "s3cret", nc=1)) == b"200")
        check("the same nonce count again is refused",
              status(digest_head("GET", "/hello.txt", p, "alice", "s3cret", nc=1)) == b"401")
        check("a higher count passes", status(digest_head("GET", "/hello.txt", p, "alice", "s3cret", nc=2)) == b"200")
        check("an answer without the offered qop is refused",
              status(digest_head("GET", "/hello.txt", p, "alice", "s3cret", qop=None)) == b"401")
        check("a wrong opaque is refused",
              status(digest_head("GET", "/hello.txt", p, "alice", "s3cret", nc=3, opaque="0000")) == b"401")
        good = digest_head("PUT", "/int.txt", p, "alice", "s3cret", nc=4, qop="auth-int", body=b"real")
        check("auth-int over the real body passes", status(good) == b"201")
        tampered = digest_head("PUT", "/int.txt", p, "alice", "s3cret", nc=5, qop="auth-int", body=b"real")
        tampered = tampered[:-4] + b"evil"
        check("auth-int with a tampered body is refused", status(tampered) == b"401")
        empty_hash = digest_head("PUT", "/int.txt", p, "alice", "s3cret", nc=6, qop="auth-int", body=b"")
        check("auth-int over an empty body does not cover a real one",
              status(empty_hash.replace(b"Content-Length: 0", b"Content-Length: 4") + b"evil") == b"401")
        check("nothing tampered was stored", open(os.path.join(root, "int.txt"), "rb").read() == b"real"
              if os.path.exists(os.path.join(root, "int.txt")) else False)
    finally:
        server.stop()


def main():
    with tempfile.TemporaryDirectory() as work:
        root = os.path.join(work, "root")
        os.makedirs(root)
        os.makedirs(os.path.join(work, "outside"))
        with open(os.path.join(root, "hello.txt"), "w") as f:
            f.write("hello from tern\n")
        with open(os.path.join(work, "outside", "secret.txt"), "w") as f:
            f.write("top secret\n")
        os.symlink(os.path.join(work, "outside"), os.path.join(root, "outside"))
        plain_server_checks(work)
        digest_server_checks(work)
    print("%d failed" % failures)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
