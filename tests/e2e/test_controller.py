#!/usr/bin/env python3
"""The controller end to end: actions posted by command identifier, the tray icon and its hint, and the refresh
cycle against the loopback server."""
import os
import shutil
import subprocess
import sys

from harness import (MAIN_CLASS, SOURCE_DIR, WM_WIDGET_SHOW, check, click_at, drag, point_at, post_command,
                     run_tests, tray_tip, wait_for_tip, wait_until, with_server, xdotool)

sys.path.insert(0, os.path.join(SOURCE_DIR, "tests", "server"))
from loopback_client import Server  # noqa: E402

WM_QUERYENDSESSION = 0x11
WM_ENDSESSION = 0x16
WM_COMMAND = 0x111
WM_TIMER = 0x113
CHECK_TIMER = 1
EXIT_ACTION = 101
SHOW_INFO_ACTION = 102
HIDE_ACTION = 104
REFRESH_ACTION = 106
FETCH_IP_ACTION = 113
IDNO = 7
FEED_PATH = "/forecastrss/TUXX0014_c.xml"


def options_for(server, extra=""):
    # No version question: its message box would cover the widget in screenshots.
    return (f"[Servers]\nWeather={server.base}\nWeb={server.base}\nAddress={server.base}\n"
            f"[General]\nCheckNewVersion=0\n{extra}")


def start_showing_weather(s, server, extra=""):
    """Starts the widget against the loopback server and waits until its tray hint shows the weather."""
    s.write_options(options_for(server, extra))
    widget = s.start()
    s.wait_for_window()
    wait_for_tip(s, weather_hint, "the weather in the tray icon's hint")
    return widget


def show_info_text(s):
    return s.read_options().get("Appearance", {}).get("ShowInfoText")


def settle(s, toggled_to):
    """Waits until every message posted so far has been handled: ShowInfoAction, posted last, writes its switch
    to Options.ini at once, and posted messages are handled in order."""
    post_command(s, SHOW_INFO_ACTION)
    wait_until(lambda: show_info_text(s) == toggled_to, 60, f"Appearance/ShowInfoText={toggled_to}")


def weather_hint(tip):
    return tip.startswith("Nimbo! - İstanbul, ") and tip.endswith(", 6°")


@with_server
def test_widget_fetches_the_places_feed_and_the_tray_hint_shows_its_weather(s, server):
    s.write_options(options_for(server))
    s.start()
    s.wait_for_window()
    wait_until(lambda: server.requests(FEED_PATH), 60, "the request for the feed")
    tip = wait_for_tip(s, weather_hint, "the weather in the tray icon's hint")
    check(tip.count(",") == 2, f"unexpected hint: {tip!r}")
    check(len(server.requests(FEED_PATH)) == 1, "the feed was asked for more than once")
    wait_until(lambda: server.requests("/getip.php"), 60, "the address lookup")
    check(not server.requests("/nimbo.xml"), "the version was asked for although CheckNewVersion=0")


@with_server
def test_exit_action_closes_the_widget_and_saves_its_position(s, server):
    s.write_options(options_for(server))
    widget = s.start()
    s.wait_for_window()
    # The action is disabled while the feed downloads; the hint says when it has arrived.
    wait_for_tip(s, weather_hint, "the weather in the tray icon's hint")
    check(s.driver("move", MAIN_CLASS, 211, 97)[0] == 0, "the driver could not move the widget")
    post_command(s, EXIT_ACTION)
    check(s.wait_for_exit(widget) == 0, "the widget did not end with code 0 after ExitAction")
    appearance = s.read_options()["Appearance"]
    check((appearance["Left"], appearance["Top"]) == ("211", "97"), f"position not saved: {appearance}")
    check(s.read_options()["General"]["FirstUsage"] == "0", "FirstUsage was not saved as 0")
    check(tray_tip(s) is None, "the tray icon stayed after the widget ended")


@with_server
def test_hide_action_hides_the_widget_and_a_show_request_brings_it_back(s, server):
    start_showing_weather(s, server)
    post_command(s, HIDE_ACTION)
    wait_until(lambda: (w := s.window()) and w["visible"] == "0", 60, "the widget to be hidden")
    check(s.driver("post", MAIN_CLASS, WM_WIDGET_SHOW)[0] == 0, "WM_WIDGET_SHOW could not be posted")
    s.wait_for_window()


@with_server
def test_without_tray_icon_hide_action_does_nothing(s, server):
    s.write_options(options_for(server, "ShowTrayIcon=0\n"))
    s.start()
    s.wait_for_window()
    wait_until(lambda: server.requests(FEED_PATH), 60, "the request for the feed")
    check(tray_tip(s) is None, "a tray icon is shown although ShowTrayIcon=0")
    post_command(s, HIDE_ACTION)
    settle(s, "0")
    check(s.window()["visible"] == "1", "HideAction hid the widget with no tray icon to bring it back")


@with_server
def test_no_second_request_while_the_feed_is_outstanding(s, server):
    server.rule(FEED_PATH, "never")
    s.write_options(options_for(server))
    s.start()
    s.wait_for_window()
    wait_until(lambda: server.requests(FEED_PATH), 60, "the request for the feed")
    post_command(s, REFRESH_ACTION)
    check(s.driver("post", MAIN_CLASS, WM_TIMER, CHECK_TIMER, 0)[0] == 0, "the timer tick could not be posted")
    settle(s, "0")
    check(len(server.requests(FEED_PATH)) == 1, "a refresh started a second request while one was outstanding")
    # The hint changes only when a download completes.
    check(tray_tip(s) == "Nimbo!", "the hint changed although no download completed")


@with_server
def test_failed_download_says_so_and_the_check_timer_tries_again(s, server):
    start_showing_weather(s, server)
    # The server now promises the whole feed and sends half of it: the download fails.
    server.rule(FEED_PATH, "cut")
    post_command(s, REFRESH_ACTION)
    wait_for_tip(s, lambda tip: tip == "Nimbo! - Bağlantı yok", "the failed state in the hint")
    check(len(server.requests(FEED_PATH)) == 2, "the refresh did not ask for the feed again")
    server.rule(FEED_PATH, "normal")
    check(s.driver("post", MAIN_CLASS, WM_TIMER, CHECK_TIMER, 0)[0] == 0, "the timer tick could not be posted")
    wait_for_tip(s, weather_hint, "the weather again after the timer's tick")
    check(len(server.requests(FEED_PATH)) == 3, "the timer's tick did not ask for the feed once")


def options_lines(s):
    """Options.ini's lines as written, whatever its encoding."""
    with open(s.options_path, "rb") as f:
        data = f.read()
    return (data[2:].decode("utf-16-le") if data.startswith(b"\xff\xfe") else data.decode("cp1254")).split("\r\n")


def test_a_feed_cannot_write_sections_into_the_settings(s):
    # The feed's city carries line breaks as XML character references, which survive parsing.
    root = os.path.join(s.folder, "server")
    shutil.copytree(os.path.join(SOURCE_DIR, "tests", "data", "server"), root)
    shutil.copy(os.path.join(SOURCE_DIR, "tests", "data", "feeds", "awkward-hostile-names.xml"),
                os.path.join(root, "forecastrss", "TUXX0014_c.xml"))
    server = Server(s.folder, root=root)
    try:
        s.write_options(options_for(server, "FirstUsage=0\n[Favorites]\nAnkara=TUXX0002\nİzmir=TUXX0015\n"))
        widget = s.start()
        s.wait_for_window()
        wait_for_tip(s, lambda tip: tip.startswith("Nimbo! - Bursa [Favorites] Evil=TUXX0014"), "the feed's place")
        post_command(s, EXIT_ACTION)
        check(s.wait_for_exit(widget) == 0, "the widget did not end with code 0")
    finally:
        server.close()
    lines = options_lines(s)
    check(lines.count("[Favorites]") == 1, f"not one [Favorites] section: {lines}")
    check(s.read_options()["Favorites"] == {"Ankara": "TUXX0002", "İzmir": "TUXX0015"}, "the favourites changed")
    check("CityName=Bursa [Favorites] Evil=TUXX0014" in lines, f"CityName is not one line: {lines}")


def crop(s, name, window, left, top, width, height):
    """A part of the widget in a new screenshot, as raw RGB bytes."""
    shot = s.screenshot(name)
    return subprocess.run(["convert", shot, "-crop",
                           f"{width}x{height}+{int(window['left']) + left}+{int(window['top']) + top}", "+repage",
                           "rgb:-"], check=True, capture_output=True).stdout


@with_server
def test_an_error_page_after_a_good_feed_keeps_the_weather_on_the_face_and_in_the_settings(s, server):
    # The information window would stand over the temperature and change its own lines with the failure.
    widget = start_showing_weather(s, server, "[Appearance]\nShowInfoText=0\n")
    window = s.window()
    # The temperature's label, once the face has stopped changing (it fades in).
    temperature = (144, 56, 78, 37)
    shown = wait_until(lambda: (a := crop(s, "good.png", window, *temperature)) == crop(s, "good2.png", window,
                                                                                        *temperature) and a,
                       60, "a still face")
    check(len(set(shown)) > 1, "no temperature on the face")
    server.rule(FEED_PATH, "error")
    post_command(s, REFRESH_ACTION)
    wait_for_tip(s, lambda tip: tip == "Nimbo! - Bağlantı yok", "the failed state in the hint")
    wait_until(lambda: crop(s, "after-error.png", window, *temperature) == shown, 30,
               "the old temperature on the face after the error page")
    post_command(s, EXIT_ACTION)
    check(s.wait_for_exit(widget) == 0, "the widget did not end with code 0 after ExitAction")
    city = s.read_options().get("Location", {}).get("CityName")
    check(city == "İstanbul", f"the place was not kept in Options.ini: {city!r}")


@with_server
def test_fetch_ip_twice_starts_no_second_lookup_while_one_is_outstanding(s, server):
    server.rule("/getip.php", "never")
    s.write_options(options_for(server))
    s.start()
    s.wait_for_window()
    wait_until(lambda: server.requests("/getip.php"), 60, "the address lookup at start")
    post_command(s, FETCH_IP_ACTION)
    post_command(s, FETCH_IP_ACTION)
    settle(s, "0")
    check(len(server.requests("/getip.php")) == 1, "a second address lookup started while one was outstanding")


@with_server
def test_newer_version_is_offered_once_after_start(s, server):
    s.write_options(options_for(server).replace("CheckNewVersion=0", "CheckNewVersion=1"))
    s.start()
    s.wait_for_window()
    texts = s.wait_for_dialog("Yeni Sürüm için Uyarı")
    check("Nimbo! nın 1.61 sürümü çıkmış! İndirmek ister misiniz?" in texts, f"unexpected question: {texts}")
    check(s.driver("dialog-press", "Yeni Sürüm için Uyarı", IDNO)[0] == 0, "the question could not be answered")
    settle(s, "0")
    check(len(server.requests("/nimbo.xml")) == 1, "the version was asked for more than once")


@with_server
def test_first_usage_shows_the_welcome_balloon(s, server):
    s.write_options(options_for(server))
    s.start()
    s.wait_for_window()
    balloon = wait_until(lambda: s.driver("tray")[1].get("balloon"), 60, "the welcome balloon")
    check(balloon == "Nimbo! çalışıyor! Hemen bulunduğunuz ili seçin ve\\r\\ntam beş günlük Hava durumunu öğrenin. "
          "Bunun için ana pencerede farenin sağ tuşuna basmanız yeterli. Hem dahası da var...",
          f"unexpected balloon: {balloon!r}")


@with_server
def test_end_of_session_may_go_ahead_and_hides_and_saves_the_widget(s, server):
    s.write_options(options_for(server))
    s.start()
    s.wait_for_window()
    check(s.driver("move", MAIN_CLASS, 140, 150)[0] == 0, "the driver could not move the widget")
    code, facts = s.driver("send", MAIN_CLASS, WM_QUERYENDSESSION, 0, 0)
    check(code == 0 and facts.get("result") == "1", f"WM_QUERYENDSESSION was not answered 1: {facts}")
    # Sent, not posted: the widget is hidden and its settings written when the call returns.
    check(s.driver("send", MAIN_CLASS, WM_ENDSESSION, 1, 0)[0] == 0, "WM_ENDSESSION could not be sent")
    check(s.window()["visible"] == "0", "the widget is still shown at the end of the session")
    options = s.read_options()
    check((options["Appearance"]["Left"], options["Appearance"]["Top"]) == ("140", "150"), f"not saved: {options}")
    check(options["General"]["FirstUsage"] == "0", f"FirstUsage not saved: {options}")


def menu_shown(s):
    return (w := s.window("#32768")) and w["visible"] == "1"


@with_server
def test_right_click_opens_the_widget_menu_whose_access_keys_run_actions(s, server):
    start_showing_weather(s, server, "FirstUsage=0\n")
    click_at(s, 416, 424, button=3)
    wait_until(lambda: menu_shown(s), 60, "the widget's menu")
    # "&Bilgi Ekranı": B is the access key as written. Without a window manager the menu's window may get the
    # keyboard a moment after it shows; a key that went nowhere is pressed again while the menu still waits.
    def chosen():
        if show_info_text(s) == "0":
            return True
        if menu_shown(s):
            xdotool(s, "key", "b")
            try:
                return wait_until(lambda: show_info_text(s) == "0", 5, "the key to reach the menu")
            except AssertionError:
                return False
        return False
    wait_until(chosen, 60, "ShowInfoAction chosen from the menu")
    wait_until(lambda: not menu_shown(s), 60, "the menu to close")


@with_server
def test_dragging_with_the_left_button_moves_the_widget(s, server):
    start_showing_weather(s, server, "FirstUsage=0\n")
    drag(s, 416, 424, 100, 50)
    wait_until(lambda: (w := s.window()) and (w["left"], w["top"]) == ("400", "350"), 60,
               "the widget to follow the mouse")


@with_server
def test_double_click_on_the_widget_refreshes_the_weather(s, server):
    start_showing_weather(s, server, "FirstUsage=0\n")
    point_at(s, 416, 424)
    xdotool(s, "click", "--repeat", 2, "--delay", 80, 1)
    wait_until(lambda: len(server.requests(FEED_PATH)) == 2, 60, "a second feed request after the double click")


@with_server
def test_a_server_that_never_answers_ends_as_a_failure_within_the_time_out(s, server):
    server.rule(FEED_PATH, "never")
    s.write_options(options_for(server))
    s.start()
    s.wait_for_window()
    wait_until(lambda: server.requests(FEED_PATH), 60, "the feed request")
    # 30 s without data end the download; the widget must not stay in the connecting state.
    wait_until(lambda: tray_tip(s) == "Nimbo! - Bağlantı yok", 120, "the failed state after the time-out")
    server.rule(FEED_PATH, "normal")
    post_command(s, REFRESH_ACTION)
    wait_for_tip(s, weather_hint, "the weather after a refresh, which the failure no longer blocks")


@with_server
def test_closing_during_a_slow_download_waits_for_it_and_then_ends(s, server):
    server.get(f"/_control/rule?path={FEED_PATH}&mode=slow&ms=6000")
    s.write_options(options_for(server))
    widget = s.start()
    s.wait_for_window()
    wait_until(lambda: server.requests(FEED_PATH), 60, "the feed request")
    check(s.run("/exit", timeout=180) == 0, "the closing start did not end with code 0")
    check(s.wait_for_exit(widget, timeout=180) == 0, "the widget did not end cleanly during the download")
    check(s.read_options().get("General", {}).get("FirstUsage") == "0", "the settings were not saved")


if __name__ == "__main__":
    run_tests(globals())
