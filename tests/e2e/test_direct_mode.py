#!/usr/bin/env python3
"""Direct mode end to end: the widget asks loopback stand-ins for Open-Meteo's forecast and geocoding APIs
itself (plain HTTP here, HTTPS in real use) and shows their weather through the feed it already reads."""
import json
import os
import shutil
import sys
import urllib.parse

from harness import MAIN_CLASS, SOURCE_DIR, check, run_tests, tray_tip, wait_for_tip, wait_until

sys.path.insert(0, os.path.join(SOURCE_DIR, "tests", "server"))
from loopback_client import Server  # noqa: E402

WM_COMMAND = 0x111
WM_TIMER = 0x113
CHECK_TIMER = 1
REFRESH_ACTION = 106
DATA = os.path.join(SOURCE_DIR, "tests", "data")
FORECAST = "/v1/forecast"
GET = "/v1/get"


def with_stand_in(test):
    """Runs `test(s, stand_in)` with one loopback server answering as both APIs from recorded answers."""

    def run(s):
        root = os.path.join(s.folder, "stand-in")
        os.makedirs(os.path.join(root, "v1"))
        shutil.copy(os.path.join(DATA, "open-meteo", "istanbul-day.json"), os.path.join(root, "v1", "forecast"))
        shutil.copy(os.path.join(DATA, "geocoding", "get-2950159.json"), os.path.join(root, "v1", "get"))
        shutil.copy(os.path.join(DATA, "geocoding", "search-bursa.json"), os.path.join(root, "v1", "search"))
        stand_in = Server(s.folder, root=root)
        try:
            test(s, stand_in)
        finally:
            stand_in.close()

    run.__name__ = test.__name__
    return run


def direct_options(stand_in, location=""):
    # No Web or Address server: the version check and the address lookup must not be asked anywhere.
    return (f"[Servers]\nWeather=direct\nForecast={stand_in.base}{FORECAST}\nGeocoding={stand_in.base}/v1\n"
            f"[General]\nCheckNewVersion=1\n{location}")


def shows(place):
    # The recorded answer: 11 °C, partly cloudy.
    return lambda tip: tip.startswith(f"Nimbo! - {place}, ") and tip.endswith(", 11°")


def post(s, message, wparam):
    check(s.driver("post", MAIN_CLASS, message, wparam, 0)[0] == 0, f"message {message:#x} could not be posted")


def query(entry):
    return dict(urllib.parse.parse_qsl(entry["query"]))


@with_stand_in
def test_default_place_needs_no_look_up_and_shows_the_forecast(s, stand_in):
    s.write_options(direct_options(stand_in))
    s.start()
    s.wait_for_window()
    wait_for_tip(s, shows("Istanbul"), "the stand-in's weather for the default place")
    forecasts = stand_in.requests(FORECAST)
    check(len(forecasts) == 1, f"{len(forecasts)} forecast requests")
    asked = query(forecasts[0])
    check((asked["latitude"], asked["longitude"], asked["timezone"]) == ("41.0138", "28.9497", "auto"),
          f"unexpected forecast query: {asked}")
    check(not stand_in.requests(GET), "the default place was looked up although the program carries it")
    s.screenshot("direct-istanbul.png")
    # The version check's moment passes without a request: there is no server of ours to ask.
    post(s, WM_TIMER, 3)
    post(s, WM_COMMAND, REFRESH_ACTION)
    wait_until(lambda: len(stand_in.requests(FORECAST)) == 2, 60, "the refresh's forecast request")
    paths = {entry["path"] for entry in map(json.loads, stand_in.get("/_control/log").splitlines())}
    check(paths == {FORECAST}, f"requests beyond the forecast: {sorted(paths)}")


@with_stand_in
def test_new_geonames_id_is_looked_up_once_and_remembered(s, stand_in):
    s.write_options(direct_options(stand_in, "[Location]\nCityID=2950159\nCityName=Eski ad\n"))
    s.start()
    s.wait_for_window()
    wait_for_tip(s, shows("Berlin"), "the stand-in's weather under the looked-up name")
    gets = stand_in.requests(GET)
    check(len(gets) == 1 and query(gets[0])["id"] == "2950159", f"unexpected look-ups: {gets}")
    check(s.read_options().get("Coordinates", {}).get("2950159") == "52.52437,13.41053",
          f"coordinates not remembered: {s.read_options().get('Coordinates')}")
    asked = query(stand_in.requests(FORECAST)[0])
    check((asked["latitude"], asked["longitude"]) == ("52.5244", "13.4105"), f"unexpected forecast query: {asked}")
    post(s, WM_TIMER, CHECK_TIMER)
    wait_until(lambda: len(stand_in.requests(FORECAST)) == 2, 60, "the next refresh's forecast request")
    wait_for_tip(s, shows("Berlin"), "the weather again after the next refresh")
    check(len(stand_in.requests(GET)) == 1, "the remembered place was looked up again")


@with_stand_in
def test_failing_or_garbage_answers_keep_the_old_weather(s, stand_in):
    s.write_options(direct_options(stand_in))
    s.start()
    s.wait_for_window()
    wait_for_tip(s, shows("Istanbul"), "the stand-in's weather")
    for mode in ("error", "garbage"):
        stand_in.rule(FORECAST, mode)
        before = len(stand_in.requests(FORECAST))
        post(s, WM_COMMAND, REFRESH_ACTION)
        wait_for_tip(s, lambda tip: tip == "Nimbo! - Bağlantı yok", f"the failed state after a {mode} answer")
        check(len(stand_in.requests(FORECAST)) == before + 1, "the refresh did not ask for the forecast")
        s.screenshot(f"direct-{mode}.png")
        stand_in.rule(FORECAST, "normal")
        post(s, WM_COMMAND, REFRESH_ACTION)
        wait_for_tip(s, shows("Istanbul"), f"the weather back after the {mode} answer")


def search_for_bursa(s, count_text):
    """Opens the places page and searches the stand-in for "Bursa" until the count says `count_text`."""
    import test_options as options

    options.open_options(s, options.ADD_LOC_ACTION)
    options.click(s, options.RADIO2)
    options.do(s, "set-text", options.TITLE, options.EDIT2, "Bursa")
    options.wait_control(s, options.BUTTON5, lambda f: f["enabled"] == "1", "the search button")
    options.click(s, options.BUTTON5)
    options.wait_control(s, options.LABEL10, lambda f: f["texts"] == [count_text], "the count of places found")


@with_stand_in
def test_options_search_lists_the_stand_ins_places_and_remembers_the_picked_one(s, stand_in):
    import test_options as options

    s.write_options(direct_options(stand_in).replace("CheckNewVersion=1", "CheckNewVersion=0\nFirstUsage=0"))
    s.start()
    s.wait_for_window()
    wait_for_tip(s, shows("Istanbul"), "the stand-in's weather")
    search_for_bursa(s, "2 yer bulundu.")
    check(options.items(s, options.LISTBOX1) == ["Bursa, Bursa, Türkiye", "Bursa, Aragon, İspanya"], "unexpected list")
    check(query(stand_in.requests("/v1/search")[-1])["name"] == "Bursa", "the query did not reach the stand-in")
    options.select(s, options.LISTBOX1, 1)
    options.press_save(s)
    saved = s.read_options()
    check(saved["Location"]["CityID"] == "3336901", f"place not saved: {saved['Location']}")
    check(saved.get("Coordinates", {}).get("3336901") == "41.68333,-1.10000", "the picked place's coordinates")
    wait_until(lambda: len(stand_in.requests(FORECAST)) == 2, 60, "the new place's forecast request")
    asked = query(stand_in.requests(FORECAST)[-1])
    check((asked["latitude"], asked["longitude"]) == ("41.6833", "-1.1"), f"unexpected forecast query: {asked}")
    wait_for_tip(s, shows("Bursa"), "the new place's weather")
    check(not stand_in.requests(GET), "the picked place was looked up although its coordinates were remembered")


HOSTILE_SEARCH = {"results": [{"id": 3336901, "name": "Bursa\r\n[Favorites]\r\nEvil=TUXX0014", "latitude": 41.68333,
                                "longitude": -1.1, "country": "İspanya\r\n[General]\r\nAutoUpdate=0",
                                "country_code": "ES", "admin1": "Aragón"}]}


@with_stand_in
def test_a_place_name_from_the_answer_cannot_write_sections_into_the_settings(s, stand_in):
    import test_controller as controller
    import test_options as options

    with open(os.path.join(s.folder, "stand-in", "v1", "search"), "w", encoding="utf-8") as f:
        json.dump(HOSTILE_SEARCH, f)
    s.write_options(direct_options(stand_in).replace("CheckNewVersion=1", "CheckNewVersion=0\nFirstUsage=0") +
                    "[Favorites]\nAnkara=323786\n")
    widget = s.start()
    s.wait_for_window()
    wait_for_tip(s, shows("Istanbul"), "the stand-in's weather")
    search_for_bursa(s, "1 yer bulundu.")
    options.select(s, options.LISTBOX1, 0)
    options.press_save(s)
    wait_for_tip(s, lambda tip: tip.startswith("Nimbo! - Bursa [Favorites] Evil=TUXX0014"), "the new place's weather")
    post(s, WM_COMMAND, 101)  # ExitAction
    check(s.wait_for_exit(widget) == 0, "the widget did not end with code 0")
    lines = controller.options_lines(s)
    check(lines.count("[Favorites]") == 1 and lines.count("[General]") == 1, f"sections were forged: {lines}")
    check(s.read_options()["Favorites"] == {"Ankara": "323786"}, "the favourites changed")
    check(s.read_options()["General"].get("AutoUpdate") != "0", "a setting was forged")
    city = [line for line in lines if line.startswith("CityName=")]
    check(len(city) == 1 and city[0].startswith("CityName=Bursa [Favorites] Evil=TUXX0014"),
          f"CityName is not one line: {city}")


if __name__ == "__main__":
    run_tests(globals())
