#!/usr/bin/env python3
"""Loopback HTTP server for the tests and `make run`: serves documents from a folder on 127.0.0.1 only,
misbehaves on request, and records every request as one JSON line.

Misbehaviour, by path prefix (the rest of the path names the document) or by rule for an exact path:
  /_slow/<ms>/doc     answer after <ms> milliseconds
  /_never/doc         accept and read the request, never answer
  /_error/doc         500 with an HTML error page
  /_garbage/doc       200 with bytes that are no document of any kind
  /_cut/doc           promise the whole document, send half of it and close
  /_huge/<bytes>/doc  the document padded with an XML comment to <bytes> bytes
  /_drip/<ms>/doc     promise the document, send one byte every <ms> milliseconds
  /_endless/doc       the document, then a comment that never ends (no length announced)
Rules (for paths the widget itself asks for) come from --rules FILE (JSON: {"/path": {"mode": "never",
"ms": 0, "bytes": 0}}) or from GET /_control/rule?path=/p&mode=slow&ms=2000 (mode "normal" removes it). A rule's
path may carry a query ("/p?q=1", URL-encoded as the path= value), which then wins over the path's own rule; the
mode "hold" keeps such requests unanswered until GET /_control/release?path=... answers them as usual, and GET
/_control/held answers how many are held now, by path, as JSON. A document named "<path>?<query>" in the folder
answers that query, the document "<path>" every other.
GET /_control/log answers the request log; GET /_control/reset clears rules and log.
The server stops after --lifetime seconds, on SIGTERM or SIGINT, and on GET /_control/stop.
"""
import argparse
import json
import os
import signal
import socket
import sys
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

GARBAGE = b"\x00\xff<<not {a document]\r\n\xc3("
ERROR_PAGE = (b"<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML 2.0//EN\">\n<html><head><title>500 Internal Server Error"
              b"</title></head><body><h1>Internal Server Error</h1><p>The server could not answer.<br></p>"
              b"</body></html>\n")
NOT_FOUND_PAGE = (b"<html><head><title>404 Not Found</title></head><body><h1>Not Found</h1>"
                  b"<p>The requested URL was not found on this server.<br></p></body></html>\n")


class State:
    def __init__(self, root, log_path, rules):
        self.root = os.path.realpath(root)
        self.log_path = log_path
        self.rules = rules
        self.log = []
        self.lock = threading.Lock()
        self.stopping = threading.Event()
        self.held = {}  # path (with its query) -> requests held now
        self.released = set()

    def record(self, entry):
        line = json.dumps(entry, ensure_ascii=False)
        with self.lock:
            self.log.append(line)
            if self.log_path:
                with open(self.log_path, "a", encoding="utf-8") as f:
                    f.write(line + "\n")

    def document(self, path):
        """The bytes of a served document, or None when it is missing or outside the root."""
        full = os.path.realpath(os.path.join(self.root, urllib.parse.unquote(path).lstrip("/")))
        if not full.startswith(self.root + os.sep) or not os.path.isfile(full):
            return None
        with open(full, "rb") as f:
            return f.read()


def parse_mode(path):
    """Splits a misbehaving path prefix off: (mode, number, document path)."""
    parts = path.split("/")
    if len(parts) >= 3 and parts[1] in ("_never", "_error", "_cut", "_endless", "_garbage"):
        return parts[1][1:], 0, "/" + "/".join(parts[2:])
    if len(parts) >= 4 and parts[1] in ("_slow", "_huge", "_drip") and parts[2].isdigit():
        return parts[1][1:], int(parts[2]), "/" + "/".join(parts[3:])
    return "normal", 0, path


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "NimboLoopback/1.0"

    def log_message(self, format, *args):  # the JSON log replaces the console log
        pass

    @property
    def state(self):
        return self.server.state

    def do_GET(self):
        url = urllib.parse.urlsplit(self.path)
        if url.path.startswith("/_control/"):
            return self.control(url)
        self.state.record({"time": time.time(), "method": "GET", "path": url.path, "query": url.query,
                           "headers": {k: v for k, v in self.headers.items()}})
        mode, number, doc_path = parse_mode(url.path)
        asked = url.path + ("?" + url.query if url.query else "")
        with self.state.lock:
            rule = self.state.rules.get(asked) or self.state.rules.get(url.path)
        if rule:
            mode, number = rule.get("mode", "normal"), int(rule.get("ms", rule.get("bytes", 0)) or 0)
        body = (self.state.document(doc_path + "?" + url.query) if url.query else None) or self.state.document(doc_path)
        if mode == "never":
            return self.wait(None)
        if mode == "hold":
            if not self.hold(asked):
                return
            mode = "normal"
        if mode == "slow":
            if not self.wait(number / 1000.0):
                return
            mode = "normal"
        if mode == "error":
            return self.answer(500, ERROR_PAGE, "text/html")
        if mode == "garbage":
            return self.answer(200, GARBAGE, "application/octet-stream")
        if body is None:
            return self.answer(404, NOT_FOUND_PAGE, "text/html")
        if mode == "huge":
            body = self.padded(body, number or 4 * 1024 * 1024)
        if mode == "cut":
            return self.answer(200, body, "text/xml", send=len(body) // 2)
        if mode == "drip":
            return self.drip(body, max(number, 1) / 1000.0)
        if mode == "endless":
            return self.endless(body)
        return self.answer(200, body, "text/xml")

    def control(self, url):
        query = urllib.parse.parse_qs(url.query)
        if url.path == "/_control/log":
            with self.state.lock:
                text = "".join(line + "\n" for line in self.state.log)
            return self.answer(200, text.encode("utf-8"), "application/x-ndjson")
        if url.path == "/_control/reset":
            with self.state.lock:
                self.state.log.clear()
                self.state.rules.clear()
            return self.answer(200, b"ok\n", "text/plain")
        if url.path == "/_control/rule" and "path" in query:
            mode = query.get("mode", ["normal"])[0]
            with self.state.lock:
                if mode == "normal":
                    self.state.rules.pop(query["path"][0], None)
                else:
                    self.state.rules[query["path"][0]] = {
                        "mode": mode, "ms": int(query.get("ms", ["0"])[0]), "bytes": int(query.get("bytes", ["0"])[0])}
            return self.answer(200, b"ok\n", "text/plain")
        if url.path == "/_control/release" and "path" in query:
            with self.state.lock:
                self.state.released.add(query["path"][0])
                self.state.rules.pop(query["path"][0], None)
            return self.answer(200, b"ok\n", "text/plain")
        if url.path == "/_control/held":
            with self.state.lock:
                text = json.dumps({path: count for path, count in self.state.held.items() if count})
            return self.answer(200, text.encode("utf-8"), "application/json")
        if url.path == "/_control/stop":
            self.answer(200, b"ok\n", "text/plain")
            self.state.stopping.set()
            return None
        return self.answer(404, NOT_FOUND_PAGE, "text/html")

    def answer(self, status, body, content_type, send=None):
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Cache-Control", "no-store")
        # A client's "close" is answered with one, as HTTP/1.1 asks, so that it does not keep the connection.
        if send is not None or self.headers.get("Connection", "").lower() == "close":
            self.send_header("Connection", "close")
            self.close_connection = True
        self.end_headers()
        try:
            self.wfile.write(body if send is None else body[:send])
            self.wfile.flush()
        except OSError:
            pass

    @staticmethod
    def padded(body, size):
        """The document with a comment after it, `size` bytes in all."""
        filler = size - len(body) - len(b"\n<!--  -->\n")
        if filler <= 0:
            return body
        return body + b"\n<!-- " + (b"x" * 99 + b"\n") * (filler // 100) + b"y" * (filler % 100) + b" -->\n"

    def idle(self, done):
        """Answers nothing until done() holds (True); False when the server stops or the client goes away first."""
        self.connection.settimeout(0.1)
        while not self.state.stopping.is_set():
            if done():
                self.connection.settimeout(None)
                return True
            try:
                if self.connection.recv(1, socket.MSG_PEEK) == b"":  # an empty peek: the client closed
                    break
            except socket.timeout:
                pass
            except OSError:
                break
        self.close_connection = True
        return False

    def wait(self, seconds):
        """Sleeps (for ever when None) unless the server stops or the client goes away; True when it slept."""
        deadline = None if seconds is None else time.monotonic() + seconds
        return self.idle(lambda: deadline is not None and time.monotonic() >= deadline)

    def hold(self, asked):
        """Keeps the request unanswered until its path is released; False when the client went away first."""
        with self.state.lock:
            self.state.released.discard(asked)
            self.state.held[asked] = self.state.held.get(asked, 0) + 1

        def released():
            with self.state.lock:
                return asked in self.state.released

        try:
            return self.idle(released)
        finally:
            with self.state.lock:
                self.state.held[asked] -= 1

    def drip(self, body, interval):
        self.send_response(200)
        self.send_header("Content-Type", "text/xml")
        self.send_header("Content-Length", str(len(body) * 1000))
        self.send_header("Cache-Control", "no-store")
        self.end_headers()
        self.close_connection = True
        index = 0
        while not self.state.stopping.wait(interval):
            try:
                self.wfile.write(body[index % len(body):index % len(body) + 1])
                self.wfile.flush()
            except OSError:
                return
            index += 1

    def endless(self, body):
        self.send_response(200)
        self.send_header("Content-Type", "text/xml")
        self.send_header("Connection", "close")
        self.end_headers()
        self.close_connection = True
        chunk = (b"x" * 99 + b"\n") * 640
        try:
            self.wfile.write(body + b"\n<!-- ")
            while not self.state.stopping.is_set():
                self.wfile.write(chunk)
        except OSError:
            return


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--root", required=True, help="folder of the served documents")
    parser.add_argument("--port", type=int, default=0, help="0 picks a free port")
    parser.add_argument("--port-file", help="write the chosen port here once listening")
    parser.add_argument("--log", help="append one JSON line per request here")
    parser.add_argument("--rules", help="JSON file of rules by exact path")
    parser.add_argument("--lifetime", type=float, default=600, help="seconds until the server stops by itself")
    args = parser.parse_args()

    rules = {}
    if args.rules:
        with open(args.rules, encoding="utf-8") as f:
            rules = json.load(f)
    state = State(args.root, args.log, rules)
    server = ThreadingHTTPServer(("127.0.0.1", args.port), Handler)
    server.daemon_threads = True
    server.state = state

    for signum in (signal.SIGTERM, signal.SIGINT):
        signal.signal(signum, lambda *_: state.stopping.set())
    port = server.server_address[1]
    if args.port_file:
        with open(args.port_file + ".tmp", "w") as f:
            f.write(str(port))
        os.replace(args.port_file + ".tmp", args.port_file)
    print("PORT %d" % port, flush=True)

    thread = threading.Thread(target=server.serve_forever, kwargs={"poll_interval": 0.1}, daemon=True)
    thread.start()
    state.stopping.wait(args.lifetime)
    state.stopping.set()
    server.shutdown()
    server.server_close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
