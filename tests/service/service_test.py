#!/usr/bin/env python3
"""The data service against a fake upstream on loopback: caching, one call per place, stale answers, failures,
the budget, the search with the real places and hostile requests."""
import concurrent.futures
import os
import select
import shutil
import signal
import socket
import sys
import tempfile
import time
import unittest
import xml.etree.ElementTree as ET

sys.path.insert(0, os.path.dirname(__file__))
from service_harness import PLACES, FakeUpstream, Service, wait_until  # noqa: E402

FEED = "/forecastrss/TUXX0014_c.xml"
OTHER_CODES = ["TUXX0002", "TUXX0004", "TUXX0015", "TUXX0039", "TUXX0040"]


def timed(function):
    """`function` returning (its result, the seconds it took)."""
    def run(*args):
        started = time.monotonic()
        result = function(*args)
        return result, time.monotonic() - started
    return run


class ServiceTest(unittest.TestCase):
    def start(self, *args, descriptors=None):
        self.upstream = FakeUpstream()
        self.addCleanup(self.upstream.close)
        folder = tempfile.mkdtemp(prefix="nimbo-service-")
        self.addCleanup(shutil.rmtree, folder, True)
        service = Service("--upstream", self.upstream.url, "--upstream-timeout", "1", *args,
                          log_path=os.path.join(folder, "service.log"), descriptors=descriptors)
        self.addCleanup(service.close)
        return service

    def condition(self, body):
        condition = ET.fromstring(body).find("channel/item/{http://xml.weather.yahoo.com/ns/rss/1.0}condition")
        return condition.attrib if condition is not None else None

    def test_cold_then_warm_request_calls_the_upstream_once(self):
        service = self.start()
        status, headers, first = service.get(FEED)
        self.assertEqual(status, 200)
        self.assertEqual(self.condition(first)["temp"], "11")
        status, _, fahrenheit = service.get("/forecastrss/TUXX0014_f.xml")  # same place, other unit
        self.assertEqual((status, self.condition(fahrenheit)["temp"]), (200, "52"))
        self.assertEqual(service.get(FEED)[2], first)
        self.assertEqual(self.upstream.calls(), 1)
        # Only coordinates from the service's own table reach the upstream, never the client's text.
        self.assertRegex(self.upstream.queries[0], r"^/v1/forecast\?latitude=41\.0138&longitude=28\.9497&current=[a-z_0-9,]+"
                                                   r"&daily=[a-z_0-9,]+&timezone=auto&forecast_days=10$")
        self.assertIn("max-age=", headers["Cache-Control"])
        status, _, body = service.get(FEED, {"If-None-Match": headers["ETag"]})
        self.assertEqual((status, body), (304, b""))

    def test_fifty_simultaneous_requests_make_one_upstream_call(self):
        service = self.start()
        self.upstream.delay = 0.5
        with concurrent.futures.ThreadPoolExecutor(50) as pool:
            answers = list(pool.map(lambda _: service.get(FEED), range(50)))
        self.assertEqual({status for status, _, _ in answers}, {200})
        self.assertEqual(len({body for _, _, body in answers}), 1)
        self.assertEqual(self.upstream.calls(), 1)

    def test_upstream_gone_gives_stale_answers_then_503(self):
        service = self.start("--fresh", "1", "--stale", "4", "--retry", "0")
        first = service.get(FEED)[2]
        self.upstream.mode = "error"
        stale = wait_until(lambda: (a := service.get(FEED)) and self.upstream.calls() > 1 and a, 10, "an upstream retry")
        self.assertEqual((stale[0], stale[2]), (200, first))  # the feed keeps its own dates
        status, _, body = wait_until(lambda: (a := service.get(FEED))[0] == 503 and a, 15, "the stale limit")
        self.assertEqual(ET.fromstring(body).findtext("channel/item/title"), "Weather not available")
        self.assertTrue(service.alive())

    def test_garbage_time_outs_and_cut_answers_give_the_error_feed(self):
        service = self.start()
        for number, mode in enumerate(["garbage", "slow", "cut", "error"]):
            self.upstream.mode = mode
            status, _, body = service.get(f"/forecastrss/{['TUXX0002', 'TUXX0004', 'TUXX0015', 'TUXX0039'][number]}_c.xml")
            self.assertEqual(status, 503, mode)
            self.assertIsNone(self.condition(body), mode)
            self.assertTrue(service.alive(), mode)
        metrics = service.get("/metrics")[2].decode()
        self.assertIn("nimbo_upstream_failures_total 4", metrics)

    def test_a_sweep_of_new_places_cannot_starve_the_cached_ones(self):
        # Of 6 calls a minute, 2 are kept for refreshing cached places.
        service = self.start("--budget-minute", "6", "--fresh", "1", "--retry", "0")
        self.assertEqual(service.get(FEED)[0], 200)
        sweep = [service.get(f"/forecastrss/{code}_c.xml")[0] for code in OTHER_CODES]
        self.assertEqual(sweep, [200, 200, 200, 503, 503])
        self.assertEqual(self.upstream.calls(), 4)
        # İstanbul's feed goes stale and is refreshed from the kept share; new places still get nothing.
        wait_until(lambda: service.get(FEED)[0] == 200 and self.upstream.calls() == 5, 10, "İstanbul's refresh")
        self.assertIn("latitude=41.0138", self.upstream.queries[-1])
        self.assertEqual(service.get("/forecastrss/TUXX0040_c.xml")[0], 503)
        self.assertEqual(self.upstream.calls(), 5)
        self.assertIn('nimbo_upstream_refusals_total{reason="budget_new_places"} 3', service.metrics())

    def test_one_client_over_its_rate_does_not_slow_the_others(self):
        service = self.start("--feed-burst", "3", "--search-burst", "1")
        statuses = [service.get(FEED) for _ in range(5)]
        self.assertEqual([status for status, _, _ in statuses], [200, 200, 200, 429, 429])
        self.assertEqual(statuses[3][1]["Retry-After"], "1")
        self.assertEqual(self.upstream.calls(), 1)
        # Another address, and the same one for another kind of request, have their own buckets.
        self.assertEqual([service.get(FEED, source="127.0.0.2")[0] for _ in range(3)], [200, 200, 200])
        self.assertEqual(service.get("/search/search?where=ist")[0], 200)
        self.assertEqual(service.get("/search/search?where=ist")[0], 429)
        metrics = service.metrics()
        self.assertIn('nimbo_requests_total{route="feed",status="429"} 2\n', metrics)
        self.assertIn('nimbo_requests_total{route="search",status="429"} 1\n', metrics)

    def test_half_sent_requests_cannot_shut_others_out(self):
        # 64 descriptors: at most 32 connections; the rest of 200 half-sent requests are shed or refused.
        service = self.start("--request-timeout", "2", descriptors=64)
        half_sent = []
        self.addCleanup(lambda: [connection.close() for connection in half_sent])
        for _ in range(200):
            connection = socket.create_connection(("127.0.0.1", service.port), timeout=10)
            connection.sendall(b"GET /healthz HTTP/1.1\r\nHost: x\r\n")
            half_sent.append(connection)
        started = time.monotonic()
        self.assertEqual(service.get("/healthz")[0], 200)
        self.assertLess(time.monotonic() - started, 1.0)
        cpu = service.cpu_seconds()
        # Trickling a byte at a time does not stretch the deadline from the first byte.
        with socket.create_connection(("127.0.0.1", service.port), timeout=10) as trickle:
            started = time.monotonic()
            closed = False
            while not closed and time.monotonic() - started < 10:
                try:
                    trickle.sendall(b"G")
                    if select.select([trickle], [], [], 0.2)[0]:
                        closed = trickle.recv(100) == b""
                except (BrokenPipeError, ConnectionResetError):
                    closed = True
            self.assertTrue(closed)
            self.assertLess(time.monotonic() - started, 5)
        self.assertLess(service.cpu_seconds() - cpu, 0.5)  # quiet while the slow clients sit there
        metrics = service.metrics()
        self.assertRegex(metrics, r'nimbo_connections_closed_total\{reason="shed"\} \d{2,}')
        self.assertRegex(metrics, r'nimbo_connections_closed_total\{reason="request_deadline"\} [1-9]')
        self.assertIn("nimbo_connection_limit 32\n", metrics)

    def test_an_upstream_that_never_answers_costs_a_bounded_wait(self):
        service = self.start("--upstream-timeout", "60", "--fresh", "1", "--fetch-wait", "2")
        for code in OTHER_CODES[:4] + ["TUXX0014"]:
            self.assertEqual(service.get(f"/forecastrss/{code}_c.xml")[0], 200)
        self.upstream.mode = "hang"
        time.sleep(1.5)  # the feeds' fresh second passes
        # Five stale places, though only four calls can run: each gets its stale feed at once.
        with concurrent.futures.ThreadPoolExecutor(5) as pool:
            answers = list(pool.map(timed(service.get), [f"/forecastrss/{code}_c.xml" for code in OTHER_CODES[:4] + ["TUXX0014"]]))
        self.assertEqual([status for (status, _, _), _ in answers], [200] * 5)
        self.assertLess(max(seconds for _, seconds in answers), 1.0)
        (status, _, body), seconds = timed(service.get)("/forecastrss/TUXX0040_c.xml")
        self.assertEqual((status, ET.fromstring(body).findtext("channel/item/title")), (503, "Weather not available"))
        self.assertLess(seconds, 2 + 3)
        self.assertIn("nimbo_feed_waits_over_total 6\n", service.metrics())

    def test_stopping_answers_every_waiting_client_and_ends_within_five_seconds(self):
        service = self.start("--upstream-timeout", "60", "--fresh", "1", "--fetch-wait", "30", "--stale-wait", "30")
        self.assertEqual(service.get(FEED)[0], 200)
        self.upstream.mode = "hang"
        time.sleep(1.5)  # the feed's fresh second passes
        paths = [FEED] * 3 + ["/forecastrss/TUXX0002_c.xml"] * 3
        with concurrent.futures.ThreadPoolExecutor(6) as pool:
            answers = [pool.submit(service.get, path) for path in paths]
            wait_until(lambda: "nimbo_waiting_requests 6\n" in service.metrics(), 10, "six waiting requests")
            started = time.monotonic()
            service.process.send_signal(signal.SIGTERM)
            self.assertEqual(service.process.wait(timeout=10), 0)
            self.assertLess(time.monotonic() - started, 5)
            self.assertEqual([answer.result()[0] for answer in answers], [200] * 3 + [503] * 3)

    def test_unknown_places_and_bad_requests(self):
        service = self.start()
        status, _, body = service.get("/forecastrss/999999999_c.xml")
        self.assertEqual(status, 404)
        self.assertEqual(ET.fromstring(body).findtext("channel/item/title"), "City not found")
        for path in ["/forecastrss/TUXX0014_x.xml", "/forecastrss/..%2f..%2fetc_c.xml", "/search/search?where=%zz",
                     "/search/search?where=" + "a" * 400]:
            self.assertEqual(service.get(path)[0], 400, path)
        # Malformed HTTP straight on the socket, and a connection dropped while its answer is being fetched.
        port = int(service.base.rsplit(":", 1)[1])
        for raw in [b"\x00\xff garbage\r\n\r\n", b"GET /" + b"a" * 70000 + b" HTTP/1.1\r\n\r\n",
                    b"POST /nimbo.xml HTTP/1.1\r\nContent-Length: 99999999\r\n\r\n", b"GET " + FEED.encode()]:
            with socket.create_connection(("127.0.0.1", port), timeout=10) as connection:
                connection.sendall(raw)
        self.upstream.delay = 0.3
        with socket.create_connection(("127.0.0.1", port), timeout=10) as connection:
            connection.sendall(b"GET /forecastrss/TUXX0040_c.xml HTTP/1.1\r\nHost: x\r\n\r\n")
        wait_until(lambda: self.upstream.calls() >= 1, 10, "the dropped request's upstream call")
        self.assertTrue(service.alive())
        self.assertEqual(service.get("/forecastrss/TUXX0040_c.xml")[0], 200)

    def test_small_documents(self):
        service = self.start("--version", "1.61", "--trusted-proxy", "127.0.0.1")
        self.assertEqual(ET.fromstring(service.get("/nimbo.xml")[2]).findtext("version"), "1.61")
        self.assertEqual(ET.fromstring(service.get("/getip.php?ref=nimbo150")[2]).findtext("ip"), "127.0.0.1")
        forwarded = service.get("/getip.php", {"X-Forwarded-For": "203.0.113.5"})[2]
        self.assertEqual(ET.fromstring(forwarded).findtext("ip"), "203.0.113.5")
        self.assertIn('id="nimbonew"', service.get("/index.html")[2].decode())
        self.assertIn('id="nimbo"', service.get("/projects.html")[2].decode())


@unittest.skipUnless(os.path.exists(PLACES), "the places file (scripts/places.sh)")
class SearchTest(unittest.TestCase):
    def test_search_with_the_real_places(self):
        folder = tempfile.mkdtemp(prefix="nimbo-service-")
        self.addCleanup(shutil.rmtree, folder, True)
        service = Service("--places", PLACES, "--recorded", os.path.join(os.path.dirname(PLACES), "none"),
                          log_path=os.path.join(folder, "service.log"))
        self.addCleanup(service.close)

        def first(query):
            root = ET.fromstring(service.get("/search/search?where=" + query)[2])
            return [(loc.get("id"), loc.text) for loc in root.findall("loc")]

        self.assertEqual(first("istanbul")[0], ("745044", "İstanbul, İstanbul, Türkiye"))
        self.assertEqual(first("%C4%B0ZM%C4%B0R")[0], ("311046", "İzmir, İzmir, Türkiye"))
        self.assertEqual(first("sanliurfa")[0], ("298333", "Şanlıurfa, Şanlıurfa, Türkiye"))
        self.assertLessEqual(len(first("san")), 20)
        # Every country's region and the country in Turkish; places that share a name never read the same.
        self.assertEqual(first("berlin")[0], ("2950159", "Berlin, State of Berlin, Almanya"))
        self.assertEqual(first("konyar")[0], ("718602", "Konyár, Hajdú-Bihar, Macaristan"))
        for query in ("hollywood", "berlin", "paris", "neuenkirchen", "san jose", "springfield"):
            lines = [line for _, line in first(query.replace(" ", "%20"))]
            self.assertEqual(len(lines), len(set(lines)), lines)
        # An old client sends raw Windows-1254 bytes and reads its answer in the same code page.
        port = int(service.base.rsplit(":", 1)[1])
        with socket.create_connection(("127.0.0.1", port), timeout=10) as connection:
            connection.sendall(b"GET /search/search?where=\xddzmir HTTP/1.0\r\n\r\n")
            reply = b""
            while chunk := connection.recv(65536):
                reply += chunk
        self.assertIn(b"200 OK", reply.split(b"\r\n")[0])
        self.assertIn('<loc id="311046">İzmir, İzmir, Türkiye</loc>'.encode("cp1254"), reply)
        # A GeoNames id from the search names a feed; with no recorded answer and no upstream it is a 503.
        self.assertEqual(service.get("/forecastrss/311046_c.xml")[0], 503)


if __name__ == "__main__":
    unittest.main(verbosity=2)
