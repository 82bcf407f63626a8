#!/usr/bin/env python3
"""The widget's other windows end to end: the information window, the about window, hibernation with its
warning, the favourites submenu and the face's hints."""
import os
import shutil
import subprocess
import sys

from harness import MAIN_CLASS, SOURCE_DIR, WIN64_DIR, check, run_tests, wait_until

sys.path.insert(0, os.path.join(SOURCE_DIR, "tests", "server"))
from loopback_client import Server  # noqa: E402

WM_COMMAND = 0x111
WM_KEYDOWN = 0x100
VK_ESCAPE = 0x1B
EXIT_ACTION = 101
ABOUT_ACTION = 107
HIBERNATE_ACTION = 112
INFO_CLASS = "TInfoTextForm"
ABOUT_CLASS = "TAboutForm"
HIBERNATE_TITLE = "Kış Uykusu için uyarı"
HIBERNATE_CHECKBOX = 305
WS_EX_TRANSPARENT = 0x20
SCREENSHOTS = os.path.join(SOURCE_DIR, "docs", "screenshots")
EVERY_LINE = ("ShowIP=1\nShowSunInfo=1\nShowSituation=1\nShowDate=1\nShowHijri=1\nShowWind=1\nShowVisibility=1\n"
              "ShowHumidity=1\nShowChill=1\nShowWeatherText=1\n")


def with_server(test):
    def run(s):
        server = Server(s.folder)
        try:
            test(s, server)
        finally:
            server.close()

    run.__name__ = test.__name__
    return run


def options_for(server, general="", appearance="", favorites=""):
    return (f"[Servers]\nWeather={server.base}\nWeb={server.base}\nAddress={server.base}\n"
            f"[General]\nCheckNewVersion=0\nFirstUsage=0\n{general}[Appearance]\n{appearance}"
            f"[Favorites]\n{favorites}")


def xdotool(s, *args):
    subprocess.run(["xdotool", *map(str, args)], env=s.env, check=True, timeout=60)


def point_at(s, x, y):
    xdotool(s, "mousemove", x, y)
    wait_until(lambda: (f := s.driver("cursor")[1]) and (f.get("x"), f.get("y")) == (str(x), str(y)), 60,
               f"the mouse at ({x}, {y})")


def click_at(s, x, y):
    point_at(s, x, y)
    xdotool(s, "mousedown", 1)
    xdotool(s, "mouseup", 1)


def post_command(s, command):
    check(s.driver("post", MAIN_CLASS, WM_COMMAND, command, 0)[0] == 0, f"command {command} could not be posted")


def tray_tip(s):
    code, facts = s.driver("tray")
    return facts.get("tip", "") if code == 0 and int(facts.get("icons", "0")) > 0 else ""


def wait_for_place(s, place):
    return wait_until(lambda: tray_tip(s).startswith(f"Nimbo! - {place}, "), 60, f"the weather of {place}")


def position(window):
    return int(window["left"]), int(window["top"])


def settle(s):
    """Returns once the widget has handled what it was sent so far: fades run inside the handler."""
    check(s.driver("send", MAIN_CLASS, 0)[0] == 0, "the widget did not answer")


def keep_screenshot(s, name):
    """A screen grab of this case, also kept in docs/screenshots for the record."""
    settle(s)
    path = s.screenshot(name)
    shutil.copy2(path, os.path.join(SCREENSHOTS, name))
    return path


@with_server
def test_information_window_stands_where_stored_follows_the_widget_and_closes(s, server):
    s.write_options(options_for(server, appearance="ShowInfoText=1\nInfoTextLeft=560\nInfoTextTop=120\n"
                                "Left=300\nTop=300\n" + EVERY_LINE))
    s.display.set_background("#4a7ab0")
    widget = s.start()
    wait_for_place(s, "İstanbul")
    info = s.wait_for_window(INFO_CLASS)
    check((info["width"], info["height"]) == ("209", "204"), f"the information window's size: {info}")
    check(position(info) == (560, 120), f"the information window is not where it was stored: {info}")
    check(info["owner"] == s.window()["hwnd"], "the information window is not owned by the widget")
    wait_until(lambda: s.driver("info", INFO_CLASS)[1].get("visible") == "1", 60, "the information window")
    keep_screenshot(s, "information-window.png")

    # Dragging the widget by 100, 50 takes the information window along by the same amount.
    point_at(s, 416, 424)
    xdotool(s, "mousedown", 1)
    for step in range(1, 11):
        xdotool(s, "mousemove", 416 + 10 * step, 424 + 5 * step)
    xdotool(s, "mouseup", 1)
    wait_until(lambda: position(s.window()) == (400, 350), 60, "the widget to follow the mouse")
    wait_until(lambda: position(s.window(INFO_CLASS)) == (660, 170), 60, "the information window to follow")

    # A press makes the window active and shows its close button; the button then closes it. Without a window
    # manager, Wine hands the activation of the very first press back at once, so the window is pressed twice.
    click_at(s, 660 + 100, 170 + 60)
    click_at(s, 660 + 100, 170 + 60)
    click_at(s, 660 + 184, 170 + 24)
    wait_until(lambda: s.window(INFO_CLASS)["visible"] == "0", 60, "the information window to close")
    wait_until(lambda: s.read_options()["Appearance"].get("ShowInfoText") == "0", 60, "ShowInfoText=0 stored")
    check(widget.poll() is None, "the widget ended with its information window")

    post_command(s, EXIT_ACTION)
    check(s.wait_for_exit(widget) == 0, "the widget did not end")
    appearance = s.read_options()["Appearance"]
    check((appearance["InfoTextLeft"], appearance["InfoTextTop"]) == ("660", "170"),
          f"the information window's position was not saved: {appearance}")
    check((appearance["Left"], appearance["Top"]) == ("400", "350"), f"the widget's position: {appearance}")

    # Both positions survive a restart; the window stays hidden since it was switched off.
    s.start()
    s.wait_for_window()
    info = s.wait_for_window(INFO_CLASS, visible=False)
    check(position(info) == (660, 170) and info["visible"] == "0", f"after the restart: {info}")
    check(position(s.window()) == (400, 350), "the widget moved on the restart")


@with_server
def test_about_window_is_centred_opens_the_projects_page_and_hides_on_escape(s, server):
    urls = os.path.join(s.folder, "urls.txt")
    driver = "Z:" + os.path.join(WIN64_DIR, "nimbo_driver.exe").replace("/", "\\")
    handler = f'"{driver}" record "Z:{urls.replace("/", chr(92))}" "%1"'
    # The prefix is shared by the cases, which run one at a time: the handler is put back afterwards.
    key = "HKCR\\http\\shell\\open\\command"
    check(s.registry("add", key, "/ve", "/d", handler, "/f") == 0, "the test's URL handler could not be registered")
    try:
        s.write_options(options_for(server))
        s.display.set_background("#d8d8d8")
        s.start()
        wait_for_place(s, "İstanbul")
        post_command(s, ABOUT_ACTION)
        about = s.wait_for_window(ABOUT_CLASS)
        check((about["width"], about["height"]) == ("329", "249"), f"the about window's size: {about}")
        check(position(about) == ((1024 - 329) // 2, (768 - 249) // 2), f"not centred on the desktop: {about}")
        check(about["title"] == "About...", f"the about window's title: {about['title']!r}")
        keep_screenshot(s, "about-window.png")

        left, top = position(about)
        click_at(s, left + 125, top + 143)
        wait_until(lambda: os.path.exists(urls) and open(urls).read().strip(), 60, "the projects page to open")
        check(open(urls).read().strip() == server.base + "/projects.html#nimbo", f"opened: {open(urls).read()!r}")
        check(s.window(ABOUT_CLASS)["visible"] == "1", "the about window closed when its link was clicked")

        check(s.driver("post", ABOUT_CLASS, WM_KEYDOWN, VK_ESCAPE, 0)[0] == 0, "Escape could not be sent")
        wait_until(lambda: s.window(ABOUT_CLASS)["visible"] == "0", 60, "Escape to hide the about window")
    finally:
        s.registry("add", key, "/ve", "/d", '"C:\\windows\\system32\\winebrowser.exe" "%1"', "/f")


if __name__ == "__main__":
    run_tests(globals())
