#!/usr/bin/env python3
"""Start-up time and memory of nimbo-service with the full index, and its cached feed rate against nginx
serving the same bytes statically (both measured with wrk on loopback)."""
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
    """wrk's latency percentiles for one connection asking a short prefix (many matches) and a whole name."""
    lines = []
    for query in ["sa", "istanbul"]:
        out = subprocess.run(["wrk", "-t1", "-c1", "-d5s", "--latency", f"{base}/search/search?where={query}"],
                             capture_output=True, text=True, check=True).stdout
        p50 = re.search(r"\s50%\s+(\S+)", out).group(1)
        p99 = re.search(r"\s99%\s+(\S+)", out).group(1)
        lines.append(f"search over HTTP for {query!r}: median {p50}, p99 {p99} (target p99 < 2 ms)")
    # The service's own view, without the client and the machine's scheduling: its latency histogram.
    metrics = subprocess.run(["curl", "-s", base + "/metrics"], capture_output=True, text=True).stdout
    buckets = dict(re.findall(r'nimbo_request_seconds_bucket\{route="search",le="([^"]+)"\} (\d+)', metrics))
    total = int(buckets["+Inf"])
    lines.append("search inside the service: " + ", ".join(
        f"{100 * int(buckets[le]) / total:.2f}% within {float(le) * 1000:g} ms" for le in ["0.0005", "0.001", "0.0025"]))
    return "\n".join(lines)


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
