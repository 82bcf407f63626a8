#!/usr/bin/env python3
"""Start-up time and memory of nimbo-service with the full index, and its cached feed rate against nginx
serving the same bytes statically (both measured with wrk on loopback)."""
import http.client
import os
import re
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "tests", "service"))
from service_harness import SOURCE_DIR, Service, wait_until  # noqa: E402

FEED = "/forecastrss/TUXX0014_c.xml"


def wrk(url):
    out = subprocess.run(["wrk", "-t2", "-c64", "-d10s", url], capture_output=True, text=True, check=True).stdout
    return float(re.search(r"Requests/sec:\s+([\d.]+)", out).group(1))


def rss_mb(pid):
    with open(f"/proc/{pid}/status") as status:
        return int(re.search(r"VmRSS:\s+(\d+)", status.read()).group(1)) / 1024


def search_latency(base):
    """Round trips of search requests on one kept-alive connection (the client's own time included)."""
    host, port = base.split("//")[1].split(":")
    connection = http.client.HTTPConnection(host, int(port), timeout=30)
    queries = ["ist", "istanbul", "%C4%B0ZM%C4%B0R", "sanliurfa", "an", "sa", "ba", "new+york", "london", "be"]
    micros = []
    for _ in range(200):
        for query in queries:
            start = time.perf_counter()
            connection.request("GET", "/search/search?where=" + query)
            connection.getresponse().read()
            micros.append((time.perf_counter() - start) * 1e6)
    connection.close()
    micros.sort()
    return (f"search over HTTP: {len(micros)} requests, median {micros[len(micros) // 2]:.0f} us, "
            f"p99 {micros[len(micros) * 99 // 100]:.0f} us (target p99 < 2000 us)")


def main(program, places):
    os.environ["NIMBO_SERVICE"] = program
    folder = tempfile.mkdtemp(prefix="nimbo-bench-", dir=os.path.join(SOURCE_DIR, "build"))
    started = time.monotonic()
    service = Service("--places", places, "--recorded", os.path.join(SOURCE_DIR, "service", "recorded"),
                      log_path=os.path.join(folder, "service.log"))
    start_seconds = time.monotonic() - started
    try:
        print(f"start-up with the full index: {start_seconds:.2f} s (target < 2 s), "
              f"RSS {rss_mb(service.process.pid):.0f} MB")
        print(search_latency(service.base))
        status, _, feed = service.get(FEED)
        assert status == 200
        ours = wrk(service.base + FEED)
        static = os.path.join(folder, "static")
        os.makedirs(os.path.join(static, "forecastrss"))
        with open(os.path.join(static, FEED.lstrip("/")), "wb") as f:
            f.write(feed)
        with open(os.path.join(folder, "nginx.conf"), "w") as f:
            f.write(f"""{"user root;" if os.geteuid() == 0 else ""}
daemon off; worker_processes 1; pid {folder}/nginx.pid; error_log {folder}/error.log;
events {{ worker_connections 1024; }}
http {{ access_log off; client_body_temp_path {folder}/b; proxy_temp_path {folder}/p;
  fastcgi_temp_path {folder}/f; uwsgi_temp_path {folder}/u; scgi_temp_path {folder}/s;
  server {{ listen 127.0.0.1:18641; root {static}; }} }}
""")
        nginx = subprocess.Popen(["/usr/sbin/nginx", "-p", folder, "-c", os.path.join(folder, "nginx.conf")])
        try:
            wait_until(lambda: subprocess.run(["curl", "-sf", "-o", "/dev/null", "http://127.0.0.1:18641" + FEED])
                       .returncode == 0, 30, "nginx")
            theirs = wrk("http://127.0.0.1:18641" + FEED)
        finally:
            nginx.terminate()
            nginx.wait()
        print(f"cached feed: nimbo-service {ours:.0f} req/s, nginx static (one worker) {theirs:.0f} req/s, "
              f"ratio {ours / theirs:.2f} (target >= 0.5)")
        print(f"RSS after the runs: {rss_mb(service.process.pid):.0f} MB")
    finally:
        service.close()


if __name__ == "__main__":
    main(*sys.argv[1:3])
