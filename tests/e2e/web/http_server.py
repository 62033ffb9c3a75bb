#!/usr/bin/env python3
"""A web server for the web commands' tests, on 127.0.0.1 only: every answer is one the test
chose, the good and the broken. Each request's head (and a post's body) is appended to the log,
so a test can see exactly what the client sent. Writes "http_port [https_port]" to the ports
file once it listens; with --cert and --key it serves the same paths over TLS as well.

Paths:
  /file/N           N bytes with their length          /nolength/N   N bytes, no length, then close
  /empty            0 bytes with length 0               /zero-body    length 0, and bytes anyway
  /text             a short text                        /missing      404
  /check            a check file                        /auth         401 unless user:secret
  /redirect-post    302 to /echo                        /echo         the method and body it got
  /relative         302 to "sub/text" beside it         /sub/text     a text
  /loop             302 to itself                       /garbage      not HTTP at all
  /cut              announces 10000, sends 3000, closes /stall        sends 100 of 1000, then waits
  /slow/N           N bytes with length, slowly         /to-https     302 to the TLS port's /file/5000
  /endless          bytes without length or end (until the client goes)
  /with%20space.txt a text (only when asked with %20)
"""
import argparse
import base64
import socket
import socketserver
import ssl
import threading
import time

LOCK = threading.Lock()
ARGS = None
PORTS = {}


def pattern(n):
    block = bytes(range(256))
    return (block * (n // 256 + 1))[:n]


def answer(status, body=b"", headers=None, length=True):
    head = "HTTP/1.1 %s\r\n" % status
    for name, value in (headers or []):
        head += "%s: %s\r\n" % (name, value)
    if length:
        head += "Content-Length: %d\r\n" % len(body)
    head += "Connection: close\r\n\r\n"
    return head.encode("latin-1") + body


class Handler(socketserver.BaseRequestHandler):
    def read_request(self):
        data = b""
        while b"\r\n\r\n" not in data:
            got = self.request.recv(65536)
            if not got:
                return None, None
            data += got
        head, body = data.split(b"\r\n\r\n", 1)
        text = head.decode("latin-1")
        for line in text.split("\r\n")[1:]:
            name, _, value = line.partition(":")
            if name.lower() == "content-length":
                while len(body) < int(value.strip()):
                    got = self.request.recv(65536)
                    if not got:
                        break
                    body += got
        with LOCK, open(ARGS.log, "a", encoding="latin-1") as log:
            log.write(text + "\r\n\r\n" + body.decode("latin-1") + "\n----\n")
        return text, body

    def handle(self):
        text, body = self.read_request()
        if text is None:
            return
        method, path, _ = text.split("\r\n")[0].split(" ", 2)
        headers = {l.partition(":")[0].lower(): l.partition(":")[2].strip() for l in text.split("\r\n")[1:]}
        try:
            self.serve(method, path, headers, body)
        except (BrokenPipeError, ConnectionResetError, ssl.SSLError, OSError):
            pass

    def send(self, data):
        self.request.sendall(data)

    def serve(self, method, path, headers, body):
        if path.startswith("/file/"):
            self.send(answer("200 OK", pattern(int(path[6:]))))
        elif path.startswith("/nolength/"):
            self.send(answer("200 OK", pattern(int(path[10:])), length=False))
        elif path == "/empty":
            self.send(answer("200 OK"))
        elif path == "/zero-body":
            self.send(answer("200 OK") + b"these bytes were never announced")
        elif path in ("/text", "/sub/text"):
            self.send(answer("200 OK", b"Hello from " + path.encode() + b"\r\nsecond line"))
        elif path == "/check":
            self.send(answer("200 OK", b"Vantry check"))
        elif path == "/with%20space.txt":
            self.send(answer("200 OK", b"spaced"))
        elif path == "/auth":
            wanted = "Basic " + base64.b64encode(b"user:secret").decode()
            if headers.get("authorization") == wanted:
                self.send(answer("200 OK", b"welcome"))
            else:
                self.send(answer("401 Unauthorized", b"who are you", [("WWW-Authenticate", 'Basic realm="t"')]))
        elif path == "/redirect-post":
            self.send(answer("302 Found", b"moved", [("Location", "/echo")]))
        elif path == "/relative":
            self.send(answer("302 Found", b"", [("location", "sub/text")]))
        elif path == "/loop":
            self.send(answer("302 Found", b"", [("Location", "/loop")]))
        elif path == "/echo":
            self.send(answer("200 OK", method.encode() + b" " + body))
        elif path == "/garbage":
            self.send(b"this is no HTTP answer at all\r\n\r\n" + pattern(500))
        elif path == "/cut":
            self.send(answer("200 OK", b"", [("Content-Length", "10000")], length=False) + pattern(3000))
        elif path == "/stall":
            self.send(answer("200 OK", b"", [("Content-Length", "1000")], length=False) + pattern(100))
            time.sleep(120)
        elif path.startswith("/slow/"):
            data = pattern(int(path[6:]))
            self.send(answer("200 OK", b"", [("Content-Length", str(len(data)))], length=False))
            for i in range(0, len(data), 16384):
                self.send(data[i:i + 16384])
                time.sleep(0.1)
        elif path == "/endless":
            self.send(answer("200 OK", b"", length=False))
            block = pattern(65536)
            while True:
                self.send(block)
        elif path == "/to-https":
            target = "https://127.0.0.1:%d/file/5000" % PORTS.get("https", 1)
            self.send(answer("301 Moved Permanently", b"", [("Location", target)]))
        else:
            self.send(answer("404 Not Found", b"no such page"))


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True


class TlsServer(Server):
    def __init__(self, address, handler, context):
        super().__init__(address, handler)
        self.context = context

    def get_request(self):
        sock, address = self.socket.accept()
        return self.context.wrap_socket(sock, server_side=True), address


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--ports-file", required=True)
    parser.add_argument("--log", required=True)
    parser.add_argument("--cert")
    parser.add_argument("--key")
    ARGS = parser.parse_args()
    servers = [Server(("127.0.0.1", 0), Handler)]
    PORTS["http"] = servers[0].server_address[1]
    if ARGS.cert:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(ARGS.cert, ARGS.key)
        servers.append(TlsServer(("127.0.0.1", 0), Handler, context))
        PORTS["https"] = servers[1].server_address[1]
    for server in servers[1:]:
        threading.Thread(target=server.serve_forever, daemon=True).start()
    with open(ARGS.ports_file + ".part", "w") as f:
        f.write(" ".join(str(PORTS[k]) for k in ("http", "https") if k in PORTS) + "\n")
    import os
    os.replace(ARGS.ports_file + ".part", ARGS.ports_file)
    servers[0].serve_forever()


if __name__ == "__main__":
    main()
