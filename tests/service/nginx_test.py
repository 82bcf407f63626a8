#!/usr/bin/env python3
"""The repository's nginx configuration in front of the service, on loopback: a repeated feed request is
answered from nginx's cache, the address echo sees the client behind the proxy, and a client past its
search rate gets 429 from nginx."""
import os
import shutil
import urllib.error
import socket
import subprocess
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ET

sys.path.insert(0, os.path.dirname(__file__))
from service_harness import OPENER, SOURCE_DIR, FakeUpstream, Service, wait_until  # noqa: E402

NGINX = "/usr/sbin/nginx"
SITE = os.path.join(SOURCE_DIR, "service", "deploy", "nginx-nimbo.conf")


def read_text(path):
    with open(path) as f:
        return f.read()


def write_text(path, text):
    with open(path, "w") as f:
        f.write(text)


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class NginxTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="nimbo-nginx-", dir=os.path.join(SOURCE_DIR, "build"))
        self.addCleanup(shutil.rmtree, self.folder, True)
        self.upstream = FakeUpstream()
        self.addCleanup(self.upstream.close)
        self.service = Service("--upstream", self.upstream.url, "--trusted-proxy", "127.0.0.1",
                               log_path=os.path.join(self.folder, "service.log"))
        self.addCleanup(self.service.close)
        self.port = free_port()
        site = read_text(SITE)
        site = site.replace("listen 80;", f"listen 127.0.0.1:{self.port};")
        site = site.replace("server 127.0.0.1:8080;", "server " + self.service.base.split("//")[1] + ";")
        site = site.replace("/var/cache/nginx/nimbo", os.path.join(self.folder, "cache"))
        write_text(os.path.join(self.folder, "site.conf"), site)
        temp = {name: os.path.join(self.folder, name) for name in ("body", "proxy", "fastcgi", "uwsgi", "scgi")}
        main = f"""{"user root;" if os.geteuid() == 0 else ""}
daemon off;
worker_processes 1;
pid {self.folder}/nginx.pid;
error_log {self.folder}/error.log;
events {{ worker_connections 256; }}
http {{
    access_log {self.folder}/access.log;
    client_body_temp_path {temp["body"]};
    proxy_temp_path {temp["proxy"]};
    fastcgi_temp_path {temp["fastcgi"]};
    uwsgi_temp_path {temp["uwsgi"]};
    scgi_temp_path {temp["scgi"]};
    include {self.folder}/site.conf;
}}
"""
        write_text(os.path.join(self.folder, "nginx.conf"), main)
        self.nginx = subprocess.Popen([NGINX, "-p", self.folder, "-c", os.path.join(self.folder, "nginx.conf")],
                                      stdout=subprocess.DEVNULL, stderr=subprocess.STDOUT)
        self.addCleanup(self.stop_nginx)
        wait_until(lambda: self.connectable() or self.nginx_died(), 30, "nginx to listen")

    def connectable(self):
        try:
            socket.create_connection(("127.0.0.1", self.port), timeout=1).close()
            return True
        except OSError:
            return False

    def nginx_died(self):
        if self.nginx.poll() is not None:
            raise AssertionError("nginx ended: " + read_text(os.path.join(self.folder, "error.log")))

    def stop_nginx(self):
        self.nginx.terminate()
        self.nginx.wait(timeout=30)

    def get(self, path):
        with OPENER.open(f"http://127.0.0.1:{self.port}{path}", timeout=30) as answer:
            return answer.status, answer.headers, answer.read()

    def test_repeated_feed_request_comes_from_nginx_cache(self):
        status, headers, first = self.get("/forecastrss/TUXX0014_c.xml")
        self.assertEqual((status, headers["X-Cache-Status"]), (200, "MISS"))
        status, headers, second = self.get("/forecastrss/TUXX0014_c.xml")
        self.assertEqual((status, headers["X-Cache-Status"], second), (200, "HIT", first))
        metrics = self.service.get("/metrics")[2].decode()
        self.assertIn('nimbo_requests_total{route="feed",status="200"} 1\n', metrics)
        self.assertEqual(self.upstream.calls(), 1)
        # The address echo is never cached and names the client, not the proxy's own entry point.
        _, headers, body = self.get("/getip.php?ref=nimbo150")
        self.assertEqual(ET.fromstring(body).findtext("ip"), "127.0.0.1")
        self.assertNotEqual(headers["X-Cache-Status"], "HIT")

    def test_a_client_past_its_rate_gets_429_from_nginx(self):
        # 30 searches a minute with bursts of 20: thirty at once cannot all pass, whatever the machine's pace.
        statuses = []
        for _ in range(30):
            try:
                statuses.append(self.get("/search/search?where=ist")[0])
            except urllib.error.HTTPError as error:
                statuses.append((error.code, error.headers["Retry-After"]))
        self.assertEqual(statuses[0], 200)
        self.assertIn((429, "2"), statuses)
        self.assertNotIn('route="search",status="429"', self.service.get("/metrics")[2].decode())


if __name__ == "__main__":
    unittest.main(verbosity=2)
