"""Starts the loopback server on a free port of its own and talks to its control paths."""
import json
import os
import subprocess
import sys
import time
import urllib.request

SOURCE_DIR = os.path.abspath(os.path.join(os.path.dirname(__file__), "../.."))


class Server:
    """The loopback server on a port of its own, serving `root` (tests/data/server by default)."""

    def __init__(self, folder, root=os.path.join(SOURCE_DIR, "tests", "data", "server"), lifetime=600):
        port_file = os.path.join(folder, "server.port")
        if os.path.exists(port_file):
            os.remove(port_file)
        self.process = subprocess.Popen(
            [sys.executable, os.path.join(SOURCE_DIR, "tests", "server", "loopback_server.py"), "--root", root,
             "--port-file", port_file, "--lifetime", str(lifetime)],
            stdout=subprocess.DEVNULL)
        deadline = time.monotonic() + 30
        while not (os.path.exists(port_file) and open(port_file).read().strip()):
            if time.monotonic() > deadline or self.process.poll() is not None:
                raise RuntimeError("the loopback server did not start")
            time.sleep(0.05)
        self.base = "http://127.0.0.1:" + open(port_file).read().strip()

    def get(self, path):
        with urllib.request.urlopen(self.base + path, timeout=30) as answer:
            return answer.read().decode("utf-8")

    def rule(self, path, mode):
        self.get(f"/_control/rule?path={path}&mode={mode}")

    def requests(self, path):
        return [entry for entry in map(json.loads, self.get("/_control/log").splitlines()) if entry["path"] == path]

    def close(self):
        self.process.terminate()
        try:
            self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()


