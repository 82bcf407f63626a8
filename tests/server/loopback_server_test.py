#!/usr/bin/env python3
"""Checks the loopback server itself: documents, every misbehaviour, the request log and how it stops."""
import http.client
import json
import os
import signal
import subprocess
import sys
import tempfile
import threading
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.join(HERE, "..", "data", "server")


def wait_for(condition, seconds=20):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if condition():
            return True
        time.sleep(0.05)
    return False


class LoopbackServerTest(unittest.TestCase):
    def start(self, *extra):
        folder = tempfile.TemporaryDirectory()
        self.addCleanup(folder.cleanup)
        self.port_file = os.path.join(folder.name, "port")
        self.log = os.path.join(folder.name, "log.jsonl")
        server = subprocess.Popen([sys.executable, os.path.join(HERE, "loopback_server.py"), "--root", ROOT,
                                   "--port-file", self.port_file, "--log", self.log, *extra],
                                  stdout=subprocess.DEVNULL)
        self.addCleanup(lambda: server.poll() is None and (server.kill(), server.wait()))
        self.assertTrue(wait_for(lambda: os.path.exists(self.port_file)))
        with open(self.port_file) as f:
            self.port = int(f.read())
        return server

    def get(self, path, timeout=10, headers=None):
        connection = http.client.HTTPConnection("127.0.0.1", self.port, timeout=timeout)
        try:
            connection.request("GET", path, headers=headers or {})
            response = connection.getresponse()
            return response.status, response.read()
        finally:
            connection.close()

    def test_documents_and_misbehaviour(self):
        self.start()
        with open(os.path.join(ROOT, "nimbo.xml"), "rb") as f:
            document = f.read()
        self.assertEqual(self.get("/nimbo.xml"), (200, document))
        self.assertEqual(self.get("/getip.php?ref=nimbo150")[0], 200)
        self.assertEqual(self.get("/missing.xml")[0], 404)
        self.assertEqual(self.get("/%2e%2e/%2e%2e/server/nimbo.xml")[0], 404)  # nothing outside the folder
        status, body = self.get("/_error/nimbo.xml")
        self.assertEqual(status, 500)
        self.assertIn(b"<html>", body)
        self.assertEqual(self.get("/_garbage/nimbo.xml"), (200, b"\x00\xff<<not {a document]\r\n\xc3("))
        status, body = self.get("/_huge/100000/nimbo.xml")
        self.assertEqual(len(body), 100000)
        self.assertTrue(body.startswith(document))
        self.assertEqual(self.get("/_slow/200/nimbo.xml"), (200, document))
        connection = http.client.HTTPConnection("127.0.0.1", self.port, timeout=10)
        connection.request("GET", "/_endless/nimbo.xml")
        response = connection.getresponse()
        self.assertIsNone(response.getheader("Content-Length"))
        self.assertTrue(response.read(10_000_000).startswith(document))  # still sending after 10 MB
        connection.close()
        with self.assertRaises(http.client.IncompleteRead):
            self.get("/_cut/nimbo.xml")
        for path in ("/_never/nimbo.xml", "/_drip/3000/nimbo.xml"):  # no byte within the second
            with self.assertRaises(OSError):
                self.get(path, timeout=1)
        self.assertEqual(self.get("/_control/rule?path=/nimbo.xml&mode=error")[0], 200)
        self.assertEqual(self.get("/nimbo.xml")[0], 500)
        self.get("/_control/rule?path=/nimbo.xml&mode=normal")
        self.assertEqual(self.get("/nimbo.xml")[0], 200)

    def test_a_query_can_be_held_until_released(self):
        self.start()
        self.assertEqual(self.get("/nimbo.xml?v=2")[0], 200)  # any other query: the path's document
        self.get("/_control/rule?path=%2Fnimbo.xml%3Fv%3D1&mode=hold")
        answers = []
        waiting = threading.Thread(target=lambda: answers.append(self.get("/nimbo.xml?v=1", timeout=20)))
        waiting.start()
        self.assertTrue(wait_for(lambda: json.loads(self.get("/_control/held")[1]) == {"/nimbo.xml?v=1": 1}))
        self.assertEqual(self.get("/nimbo.xml?v=2")[0], 200)  # the rule holds that query alone
        self.assertEqual(answers, [])
        self.get("/_control/release?path=%2Fnimbo.xml%3Fv%3D1")
        waiting.join(20)
        self.assertEqual([status for status, _ in answers], [200])
        self.assertEqual(json.loads(self.get("/_control/held")[1]), {})

    def test_every_request_is_logged_with_query_and_headers(self):
        self.start()
        self.get("/getip.php?ref=nimbo150", headers={"User-Agent": "Velmor Weather XML"})
        status, body = self.get("/_control/log")
        entries = [json.loads(line) for line in body.decode("utf-8").splitlines()]
        self.assertEqual(len(entries), 1)
        self.assertEqual(entries[0]["path"], "/getip.php")
        self.assertEqual(entries[0]["query"], "ref=nimbo150")
        self.assertEqual(entries[0]["headers"]["User-Agent"], "Velmor Weather XML")
        with open(self.log, encoding="utf-8") as f:
            self.assertEqual([json.loads(line) for line in f], entries)

    def test_it_stops_on_sigterm_and_by_itself(self):
        server = self.start()
        with self.assertRaises(OSError):
            self.get("/_never/nimbo.xml", timeout=0.5)
        server.send_signal(signal.SIGTERM)
        self.assertEqual(server.wait(timeout=20), 0)

        server = self.start("--lifetime", "1")
        self.assertEqual(server.wait(timeout=20), 0)


if __name__ == "__main__":
    unittest.main()
