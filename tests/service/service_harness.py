"""The data service on a free loopback port, beside a fake forecast upstream that the test steers."""
import http.client
import http.server
import os
import re
import resource
import subprocess
import sys
import threading
import time
import urllib.request

SOURCE_DIR = os.environ.get("NIMBO_SOURCE_DIR", os.path.abspath(os.path.join(os.path.dirname(__file__), "../..")))
SERVICE = os.environ.get("NIMBO_SERVICE", os.path.join(SOURCE_DIR, "build", "native", "nimbo-service"))
PLACES = os.path.join(SOURCE_DIR, "build", "places", "package", "cities.pbf")
ANSWERS = os.path.join(SOURCE_DIR, "tests", "data", "open-meteo")

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from waiting import wait_until  # noqa: E402,F401 (the service tests take it from here)

OPENER = urllib.request.build_opener(urllib.request.ProxyHandler({}))  # loopback only, whatever the environment


class FakeUpstream:
    """Answers /v1/forecast as `mode` says: ok, slow, garbage, cut, error (HTTP 500), gone (refuses) or hang
    (never answers, until closed)."""

    def __init__(self):
        self.mode = "ok"
        self.delay = 0.0
        self.queries = []
        self.lock = threading.Lock()
        self.released = threading.Event()
        with open(os.path.join(ANSWERS, "istanbul-day.json"), "rb") as answer:
            self.body = answer.read()
        upstream = self

        class Handler(http.server.BaseHTTPRequestHandler):
            def log_message(self, *args):
                pass

            def do_GET(self):
                with upstream.lock:
                    upstream.queries.append(self.path)
                mode = upstream.mode
                if mode == "hang":
                    upstream.released.wait(120)
                    return
                time.sleep(upstream.delay if mode != "slow" else 5)
                if mode == "cut":
                    self.send_response(200)
                    self.send_header("Content-Length", str(len(upstream.body)))
                    self.end_headers()
                    self.wfile.write(upstream.body[:100])
                    self.close_connection = True
                    return
                body = {"ok": upstream.body, "slow": upstream.body, "garbage": b"<html>Bad gateway</html>",
                        "error": b'{"error": true, "reason": "boom"}'}[mode]
                try:
                    self.send_response(500 if mode == "error" else 200)
                    self.send_header("Content-Type", "application/json")
                    self.send_header("Content-Length", str(len(body)))
                    self.end_headers()
                    self.wfile.write(body)
                except (BrokenPipeError, ConnectionResetError):
                    pass  # the service gave up waiting, as it should

        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        self.server.daemon_threads = True
        self.url = f"http://127.0.0.1:{self.server.server_port}/v1/forecast"
        threading.Thread(target=self.server.serve_forever, daemon=True).start()

    def calls(self):
        with self.lock:
            return len(self.queries)

    def close(self):
        self.released.set()
        self.server.shutdown()
        self.server.server_close()


class Service:
    """nimbo-service with `args`, on a free port; its log is kept for the test. `descriptors` lowers its
    descriptor limit (soft and hard, as `ulimit -n` does)."""

    def __init__(self, *args, log_path, descriptors=None):
        self.log_path = log_path
        self.log = open(log_path, "wb")
        env = {k: v for k, v in os.environ.items() if "proxy" not in k.lower()}
        limit = (lambda: resource.setrlimit(resource.RLIMIT_NOFILE, (descriptors, descriptors))) if descriptors else None
        self.process = subprocess.Popen([SERVICE, "--listen", "127.0.0.1:0", *args], stdout=self.log,
                                        stderr=subprocess.STDOUT, env=env, preexec_fn=limit)
        self.port = wait_until(lambda: self._port() or self._died(), 30, "the service to listen")
        self.base = f"http://127.0.0.1:{self.port}"

    def _port(self):
        with open(self.log_path, "rb") as log:
            match = re.search(rb"listening on http://127\.0\.0\.1:(\d+)", log.read())
        return match and int(match.group(1))

    def _died(self):
        if self.process.poll() is not None:
            with open(self.log_path, errors="replace") as log:
                raise AssertionError("the service ended: " + log.read())

    def get(self, path, headers=None, source="127.0.0.1"):
        """(status, headers, body bytes) of a GET from the loopback address `source`."""
        connection = http.client.HTTPConnection("127.0.0.1", self.port, timeout=30, source_address=(source, 0))
        try:
            connection.request("GET", path, headers=headers or {})
            answer = connection.getresponse()
            return answer.status, answer.headers, answer.read()
        finally:
            connection.close()

    def metrics(self):
        return self.get("/metrics")[2].decode()

    def log_text(self):
        with open(self.log_path, errors="replace") as log:
            return log.read()

    def cpu_seconds(self):
        """User and system time the service has used so far."""
        with open(f"/proc/{self.process.pid}/stat") as stat:
            fields = stat.read().rsplit(")", 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")

    def alive(self):
        return self.process.poll() is None and self.get("/healthz")[0] == 200

    def close(self):
        """Stops the service; it must end cleanly (with the sanitizers' build: no leak, no error)."""
        self.process.terminate()
        try:
            code = self.process.wait(timeout=30)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
            code = "hung"
        self.log.close()
        if code != 0:
            with open(self.log_path, errors="replace") as log:
                raise AssertionError(f"the service ended with {code}: " + log.read()[-4000:])
