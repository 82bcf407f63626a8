#!/usr/bin/env python3
"""The widget's other windows end to end: the information window, the about window, hibernation with its
warning, the favourites submenu and the face's hints."""
import datetime
import os
import re
import shutil
import subprocess
import sys

from harness import (MAIN_CLASS, SOURCE_DIR, WIN64_DIR, check, click_at, drag, point_at, post_command, run_tests,
                     wait_until, with_server, xdotool)

WM_COMMAND = 0x111
WM_KEYDOWN = 0x100
VK_ESCAPE = 0x1B
EXIT_ACTION = 101
SHOW_ACTION = 105
ABOUT_ACTION = 107
HIBERNATE_ACTION = 112
INFO_CLASS = "TInfoTextForm"
ABOUT_CLASS = "TAboutForm"
HIBERNATE_TITLE = "Kış Uykusu için uyarı"
HIBERNATE_CHECKBOX = 305
WS_EX_TRANSPARENT = 0x20
TRAY_CALLBACK = 0x401
WM_RBUTTONUP = 0x205
SCREENSHOTS = os.path.join(SOURCE_DIR, "docs", "screenshots")
EVERY_LINE = ("ShowIP=1\nShowSunInfo=1\nShowSituation=1\nShowDate=1\nShowHijri=1\nShowWind=1\nShowVisibility=1\n"
              "ShowHumidity=1\nShowChill=1\nShowWeatherText=1\n")


def options_for(server, general="", appearance="", favorites=""):
    return (f"[Servers]\nWeather={server.base}\nWeb={server.base}\nAddress={server.base}\n"
            f"[General]\nCheckNewVersion=0\nFirstUsage=0\n{general}[Appearance]\n{appearance}"
            f"[Favorites]\n{favorites}")


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
    """A screen grab of this case; with NIMBO_SCREENSHOTS=1 it also replaces the one in docs/screenshots, so an
    ordinary test run leaves the checked-in pictures alone."""
    settle(s)
    path = s.screenshot(name)
    if os.environ.get("NIMBO_SCREENSHOTS") == "1":
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
    # Every line and the weather's age take more than the designed 204 pixels: the window grows to hold them.
    check(info["width"] == "209" and int(info["height"]) > 204, f"the information window's size: {info}")
    check(position(info) == (560, 120), f"the information window is not where it was stored: {info}")
    check(info["owner"] == s.window()["hwnd"], "the information window is not owned by the widget")
    wait_until(lambda: s.driver("info", INFO_CLASS)[1].get("visible") == "1", 60, "the information window")
    keep_screenshot(s, "information-window.png")

    # Dragging the widget by 100, 50 takes the information window along by the same amount.
    drag(s, 416, 424, 100, 50)
    wait_until(lambda: position(s.window()) == (400, 350), 60, "the widget to follow the mouse")
    wait_until(lambda: position(s.window(INFO_CLASS)) == (660, 170), 60, "the information window to follow")

    # A press makes the window active and shows its close button; the button then closes it. Without a window
    # manager, Wine hands the activation of the very first press back at once, so the window is pressed twice.
    click_at(s, 660 + 100, 170 + 60)
    click_at(s, 660 + 100, 170 + 60)
    point_at(s, 660 + 150, 170 + 90)
    check(position(s.window(INFO_CLASS)) == (660, 170), "a click moved the information window")
    # The button's hint comes from the tooltip the window makes when the mouse first moves over it.
    point_at(s, 660 + 184, 170 + 24)
    xdotool(s, "mousemove", 660 + 185, 170 + 25)
    wait_until(lambda: s.driver("tooltips")[1].get("tip") == "Kapat", 60, "the close button's hint")
    click_at(s, 660 + 184, 170 + 24)
    wait_until(lambda: s.window(INFO_CLASS)["visible"] == "0", 60, "the information window to close")
    wait_until(lambda: s.read_options().get("Appearance", {}).get("ShowInfoText") == "0", 60, "ShowInfoText=0 stored")
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


def overlaps(a, b):
    (al, at), (bl, bt) = position(a), position(b)
    return al < bl + int(b["width"]) and bl < al + int(a["width"]) and at < bt + int(b["height"]) and \
        bt < at + int(a["height"])


def on_screen(window):
    left, top = position(window)
    return left >= 0 and top >= 0 and left + int(window["width"]) <= 1024 and top + int(window["height"]) <= 768


@with_server
def test_first_start_puts_the_information_window_beside_the_widget_and_show_brings_both_back(s, server):
    # As installed: no window positions stored, the information window switched on, the first usage.
    s.write_options(options_for(server).replace("FirstUsage=0", "FirstUsage=1"))
    s.display.set_background("#4a7ab0")
    s.start()
    wait_for_place(s, "İstanbul")
    wait_until(lambda: s.driver("info", INFO_CLASS)[1].get("visible") == "1", 60, "the information window")
    check(position(s.window(INFO_CLASS)) == (300 + 233, 300), f"not beside the widget: {s.window(INFO_CLASS)}")
    keep_screenshot(s, "first-start.png")
    # Dragged by its own face, it follows the mouse.
    drag(s, 533 + 100, 300 + 20, 60, 100)
    wait_until(lambda: position(s.window(INFO_CLASS)) == (593, 400), 60, "the information window to follow the mouse")

    # Dragged until slivers show, both come back on "Göster", the information window beside the widget.
    check(s.driver("move", MAIN_CLASS, 1010, 750)[0] == 0, "the driver could not move the widget")
    check(s.driver("move", INFO_CLASS, -200, -190)[0] == 0, "the driver could not move the information window")
    post_command(s, SHOW_ACTION)
    wait_until(lambda: position(s.window()) == (1024 - 233 // 3, 768 - 248 // 3), 60, "the widget back on screen")
    info = wait_until(lambda: (w := s.window(INFO_CLASS)) and on_screen(w) and w, 60, "the information window back")
    check(not overlaps(info, s.window()), f"the information window covers the widget: {info}")


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
        check(about["title"].startswith("Açık kaynak; MIT Lisansı ile dağıtılır."), f"the about window's title: {about['title']!r}")
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


def pixel(path, x, y):
    """The (r, g, b) of one pixel of a screenshot."""
    text = subprocess.run(["convert", path, "-format", f"%[fx:int(255*p{{{x},{y}}}.r)],%[fx:int(255*p{{{x},{y}}}.g)],"
                           f"%[fx:int(255*p{{{x},{y}}}.b)]", "info:"], check=True, capture_output=True,
                          text=True).stdout
    return tuple(int(v) for v in text.split(","))


def ex_style(s):
    return int(s.window()["exstyle"], 16)


def hibernating(s):
    return ex_style(s) & WS_EX_TRANSPARENT != 0


@with_server
def test_hibernation_warns_dims_lets_clicks_through_and_wakes_on_ctrl(s, server):
    clicks = os.path.join(s.folder, "clicks.txt")
    s.display.set_background("#f2efe6")
    # A plain window under the widget notes the clicks that pass through it.
    s.start("catch-clicks", "250", "250", "400", "400", "Z:" + clicks.replace("/", "\\"), "600000",
            exe=os.path.join(WIN64_DIR, "nimbo_driver.exe"))
    wait_until(lambda: s.window("NimboClickCatcher"), 60, "the window under the widget")
    s.write_options(options_for(server, appearance="Left=300\nTop=300\nInfoTextLeft=560\nInfoTextTop=300\n"))
    widget = s.start()
    wait_for_place(s, "İstanbul")
    settle(s)
    # The middle of the first forecast cell's sun.
    awake = pixel(s.screenshot("awake.png"), 366, 439)

    post_command(s, HIBERNATE_ACTION)
    texts = s.wait_for_dialog(HIBERNATE_TITLE)
    for text in (" Kış Uykusu ", "1. Farenizi, Kış Uykusunda bulunan pencerenin üzerine getirin.",
                 "2. Klavyeden CTRL tuşuna kısa bir süre basın.", "Bu uyarıyı bir daha gösterme", "&Kapat"):
        check(text in texts, f"{text!r} missing from the warning: {texts}")
    check(any(t.startswith("Seçtiğiniz pencereyi Kış Uykusu moduna geçirmek üzeresiniz.") for t in texts),
          f"the explanation is missing: {texts}")
    keep_screenshot(s, "hibernate-warning.png")
    dialog = s.driver("info", "#32770", HIBERNATE_TITLE)[1]
    check((dialog["client_width"], dialog["client_height"]) == ("363", "202"), f"the warning's client: {dialog}")
    check(not hibernating(s), "the widget hibernated before the warning was closed")
    check(s.driver("dialog-click", HIBERNATE_TITLE, HIBERNATE_CHECKBOX)[0] == 0, "the box could not be ticked")
    check(s.driver("dialog-close", HIBERNATE_TITLE)[0] == 0, "the warning could not be closed")
    wait_until(lambda: s.read_options().get("General", {}).get("HibernateAlert") == "0", 60, "HibernateAlert=0")
    wait_until(lambda: hibernating(s), 60, "the widget to let the mouse through")
    check(int(s.window(INFO_CLASS)["exstyle"], 16) & WS_EX_TRANSPARENT, "the information window did not hibernate")

    shot = keep_screenshot(s, "hibernated-widget.png")
    dimmed = pixel(shot, 366, 439)
    desktop = pixel(shot, 900, 700)
    # Blended with the desktop where a compositor runs; without one Wine shows the colours at half strength.
    blended = all(abs(d - (a * 127 + b * 128) / 255) <= 24 for d, a, b in zip(dimmed, awake, desktop))
    halved = all(abs(d - a * 127 / 255) <= 16 for d, a in zip(dimmed, awake))
    check(blended or halved, f"not at half opacity: awake {awake}, hibernating {dimmed}, desktop {desktop}")

    click_at(s, 480, 500)
    wait_until(lambda: os.path.exists(clicks) and "click 480 500" in open(clicks).read(), 60,
               "the click to reach the window under the widget")

    point_at(s, 470, 480)
    xdotool(s, "keydown", "ctrl")
    try:
        wait_until(lambda: not hibernating(s), 60, "Ctrl over the widget to wake it")
    finally:
        xdotool(s, "keyup", "ctrl")
    check(not int(s.window(INFO_CLASS)["exstyle"], 16) & WS_EX_TRANSPARENT, "the information window slept on")

    # Hibernating again asks nothing now, and a restart hibernates once more.
    post_command(s, HIBERNATE_ACTION)
    wait_until(lambda: hibernating(s), 60, "the widget to hibernate without the warning")
    post_command(s, EXIT_ACTION)
    check(s.wait_for_exit(widget) == 0, "the widget did not end")
    check(s.read_options()["Appearance"].get("Hibernate") == "1", "Hibernate=1 was not saved")
    s.start()
    s.wait_for_window()
    wait_until(lambda: hibernating(s), 60, "the restarted widget to hibernate again")
    check(not s.driver("dialog-text", HIBERNATE_TITLE)[1].get("texts"), "the warning showed although switched off")


# Both menus have the same items above their favourites submenu, so it lies this far below the menu's top;
# items are this high in the prefix's menu font.
FAVOURITES_ITEM_DY = 217
MENU_ITEM_HEIGHT = 17


def visible_menu(s):
    return (w := s.window("#32768")) and w["visible"] == "1" and w


def open_submenu(s, menu):
    """Clicks the favourites item of the open menu; returns the submenu, the topmost menu window then. Clicks,
    not keys: without a window manager the keyboard may be with another window while a menu is open."""
    click_at(s, int(menu["left"]) + 40, int(menu["top"]) + FAVOURITES_ITEM_DY)
    wait_until(lambda: s.window_count("#32768") >= 2, 60, "the favourites submenu")
    return wait_until(lambda: (w := visible_menu(s)) and w["hwnd"] != menu["hwnd"] and w, 60, "the submenu")


def click_item(s, submenu, index):
    click_at(s, int(submenu["left"]) + 30, int(submenu["top"]) + 3 + MENU_ITEM_HEIGHT * index + 8)


def open_favourites(s):
    """Opens the widget's menu with the right button, then its favourites submenu. The point lies on the forecast,
    below the glass of the information window that stands over the widget by default."""
    click_at(s, 416, 480, button=3)
    return open_submenu(s, wait_until(lambda: visible_menu(s), 60, "the widget's menu"))


def open_tray_favourites(s):
    """Opens the tray icon's menu as the shell's right click does, then its favourites submenu."""
    point_at(s, 600, 200)
    check(s.driver("post", "NimboTrayIconWindow", TRAY_CALLBACK, 0, WM_RBUTTONUP)[0] == 0, "no tray icon window")
    return open_submenu(s, wait_until(lambda: visible_menu(s), 60, "the tray icon's menu"))


def close_menus(s):
    click_at(s, 1000, 20)
    wait_until(lambda: not visible_menu(s), 60, "the menus to close")


@with_server
def test_an_empty_favourites_list_gives_one_disabled_item(s, server):
    s.write_options(options_for(server))
    s.start()
    wait_for_place(s, "İstanbul")
    # The one item is disabled: choosing it does nothing, in either menu.
    click_item(s, open_favourites(s), 0)
    keep_screenshot(s, "favourites-empty.png")
    close_menus(s)
    click_item(s, open_tray_favourites(s), 0)
    keep_screenshot(s, "favourites-tray-empty.png")
    close_menus(s)
    settle(s)
    check(len(server.requests("/forecastrss/TUXX0014_c.xml")) == 1, "the empty list's item asked for a feed")


@with_server
def test_favourites_show_sorted_and_a_pick_shows_that_place(s, server):
    s.write_options(options_for(server, favorites="Zonguldak=TUXX0070\nizmir=TUXX0015\nAnkara & Çevresi=TUXX0002\n"))
    s.start()
    wait_for_place(s, "İstanbul")
    submenu = open_favourites(s)
    keep_screenshot(s, "favourites-menu.png")
    # Sorted: "Ankara & Çevresi", "izmir", "Zonguldak"; the second is picked.
    click_item(s, submenu, 1)
    wait_until(lambda: server.requests("/forecastrss/TUXX0015_c.xml"), 60, "the feed of the picked place")
    wait_for_place(s, "İzmir")
    # The tray menu's submenu has the same order: its third item is Zonguldak.
    widget = s.processes[-1]
    click_item(s, open_tray_favourites(s), 2)
    wait_until(lambda: server.requests("/forecastrss/TUXX0070_c.xml"), 60, "the feed of the place picked in the tray")
    # The server has no feed for Zonguldak: the face shows Zonguldak without İzmir's weather, and the name is
    # saved with its own code.
    wait_until(lambda: tray_tip(s) == "Nimbo! - Bağlantı yok", 60, "the failed download of the new place")
    keep_screenshot(s, "favourite-without-weather.png")
    post_command(s, EXIT_ACTION)
    check(s.wait_for_exit(widget) == 0, "the widget did not end")
    location = s.read_options()["Location"]
    check((location["CityName"], location["CityID"]) == ("Zonguldak", "TUXX0070"), f"not a pair: {location}")


def served_from_today(s):
    """The loopback server's documents with the İstanbul feed's days moved to start today: the cells show the
    days from today's date on, and the recorded 8 December days would be gone."""
    root = os.path.join(s.folder, "server")
    shutil.copytree(os.path.join(SOURCE_DIR, "tests", "data", "server"), root)
    path = os.path.join(root, "forecastrss", "TUXX0014_c.xml")
    shift = datetime.date.today() - datetime.date(2026, 12, 8)

    def moved(match):
        day = datetime.datetime.strptime(match.group(1), "%d %b %Y").date() + shift
        return f'day="{day.strftime("%a")}" date="{day.day} {day.strftime("%b")} {day.year}"'

    feed = re.sub(r'day="\w+" date="([^"]+)"', moved, open(path, encoding="utf-8").read())
    with open(path, "w", encoding="utf-8") as f:
        f.write(feed)
    return root


def test_a_forecast_cell_shows_its_condition_as_a_hint(s):
    sys.path.insert(0, os.path.join(SOURCE_DIR, "tests", "server"))
    from loopback_client import Server

    server = Server(s.folder, root=served_from_today(s))
    try:
        show_the_first_cells_hint(s, server)
    finally:
        server.close()


def show_the_first_cells_hint(s, server):
    s.write_options(options_for(server, appearance="Left=300\nTop=300\nViewStyle=2\nShowInfoText=0\n"))
    s.display.set_background("#d8d8d8")
    s.start()
    wait_for_place(s, "İstanbul")
    settle(s)
    point_at(s, 360, 440)
    xdotool(s, "mousemove", 362, 442)
    tip = wait_until(lambda: (f := s.driver("tooltips")[1]) and f.get("tip") == "Açık" and f, 60,
                     "the hint of the first forecast cell")
    shot = keep_screenshot(s, "forecast-hint.png")
    subprocess.run(["convert", shot, "-crop", f"{tip['tip_width']}x{tip['tip_height']}+{tip['tip_left']}+"
                    f"{tip['tip_top']}", os.path.join(s.folder, "tooltip.png")], check=True)


if __name__ == "__main__":
    run_tests(globals())
