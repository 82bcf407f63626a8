#!/usr/bin/env python3
"""The real widget on Nimbo's data service: every [Servers] key on the service, the service on a fake
upstream that answers with a recorded forecast; the widget shows its temperature and place."""
import os
import sys

from harness import SOURCE_DIR, check, run_tests, tip_shows, tray_tip, wait_until

sys.path.insert(0, os.path.join(SOURCE_DIR, "tests", "service"))
from service_harness import FakeUpstream, Service  # noqa: E402


def test_widget_shows_the_weather_the_service_made_from_the_upstream(s):
    upstream = FakeUpstream()
    service = Service("--upstream", upstream.url, log_path=os.path.join(s.folder, "service.log"))
    try:
        base = service.base
        s.write_options(f"[Servers]\nWeather={base}\nSearch={base}\nWeb={base}\nAddress={base}\n"
                        "[General]\nCheckNewVersion=0\n")
        s.start()
        s.wait_for_window()
        # The recorded İstanbul answer: 11.3 °C, partly cloudy.
        tip = wait_until(lambda: (t := tray_tip(s)) and tip_shows(t, "İstanbul", 11)
                         and t, 90, "İstanbul and 11° in the tray icon's hint")
        check(upstream.calls() == 1, f"the upstream was asked {upstream.calls()} times")
        check("latitude=41.0138&longitude=28.9497" in upstream.queries[0], f"odd query {upstream.queries[0]}")
        s.screenshot("widget-on-service.png")
        print(f"hint: {tip}")
    finally:
        service.close()
        upstream.close()


if __name__ == "__main__":
    run_tests(globals())
