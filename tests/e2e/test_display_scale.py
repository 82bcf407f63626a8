#!/usr/bin/env python3
"""The widget at every display scale and for screen readers: the names each window gives its accessible object,
and the windows at 192 DPI, which look like the 96-DPI ones at twice the size."""
import os
import re
import shutil
import subprocess

from harness import (MAIN_CLASS, SOURCE_DIR, Session, check, point_at, post_command, run_tests, tray_tip,
                     wait_for_tip, wait_until, with_server)

ABOUT_ACTION = 107
REFRESH_ACTION = 106
INFO_CLASS = "TInfoTextForm"
ABOUT_CLASS = "TAboutForm"
FEED_PATH = "/forecastrss/TUXX0014_c.xml"
SCREENSHOTS = os.path.join(SOURCE_DIR, "docs", "screenshots")
# The 192-DPI widget shrunk to half (box filter) against the 96-DPI one: ImageMagick's normalised root-mean-square
# error over every channel. Texts are hinted at each size of their own and picture edges filtered twice, which
# measures about 0.075 (as much as a 0.7-pixel blur of the whole face); the 96-DPI face moved by one pixel measures
# 0.135, and texts or pictures at another size or place far more.
MOST_RMSE = 0.1


def options_for(server, appearance=""):
    return (f"[Servers]\nWeather={server.base}\nWeb={server.base}\nAddress={server.base}\n"
            f"[General]\nCheckNewVersion=0\nFirstUsage=0\n[Appearance]\nLeft=100\nTop=100\n{appearance}")


def set_dpi(s, dpi):
    """The DPI of the programs started from now on (the user's setting and the machine's)."""
    for key in ("HKCU\\Control Panel\\Desktop", "HKCC\\Software\\Fonts"):
        check(s.registry("add", key, "/v", "LogPixels", "/t", "REG_DWORD", "/d", str(dpi), "/f") == 0,
              f"LogPixels could not be set to {dpi}")


def accessible_name(s, class_name):
    code, facts = s.driver("accessible-name", class_name)
    return facts.get("name") if code == 0 else None


def weather_shown(tip):
    return tip.startswith("Nimbo! - İstanbul, ")


@with_server
def test_each_window_tells_a_screen_reader_what_it_shows(s, server):
    s.write_options(options_for(server, "ShowInfoText=1\nInfoTextLeft=600\nInfoTextTop=100\nShowIP=1\n"
                                        "ShowHumidity=1\n"))
    set_dpi(s, 144)  # the names do not depend on the scale
    s.start()
    wait_for_tip(s, weather_shown, "the weather")
    name = wait_until(lambda: accessible_name(s, MAIN_CLASS), 60, "the widget's name")
    check(re.fullmatch(r"Nimbo! İstanbul, 6°, Yağışlı\. Yarın -?\d+° / -?\d+°, [^.]+\.", name),
          f"the widget's name: {name!r}")
    info = accessible_name(s, INFO_CLASS)
    # Its lines as sentences: the condition, the humidity, the address and the weather's age.
    check(re.fullmatch(r"Yağışlı\. Nem oranı: %\d+\. IP: 127\.0\.0\.1\. Son güncelleme: \d\d:\d\d", info or ""),
          f"the information window's name: {info!r}")
    post_command(s, ABOUT_ACTION)
    s.wait_for_window(ABOUT_CLASS)
    about = accessible_name(s, ABOUT_CLASS)
    check(about.startswith("Açık kaynak; MIT Lisansı ile dağıtılır. Hava durumu: Open-Meteo (CC BY 4.0), Nimbo veri "
                           "servisi ile, Open-Meteo'nun kullanım koşullarıyla."),
          f"the about window's name: {about!r}")

    # A failed download: the name says so at once.
    server.rule(FEED_PATH, "cut")
    post_command(s, REFRESH_ACTION)
    wait_until(lambda: accessible_name(s, MAIN_CLASS) == "Nimbo! Bağlantı yok.", 60, "the name without a connection")
    check(tray_tip(s) == "Nimbo! - Bağlantı yok", "the name changed before the face did")


def size(window):
    return int(window["width"]), int(window["height"])


def grab_widget(s, server, dpi, name):
    """Starts the widget at `dpi`, waits for the weather and keeps a picture of the widget alone."""
    set_dpi(s, dpi)
    widget = s.start()
    wait_for_tip(s, weather_shown, f"the weather at {dpi} DPI")
    window = s.wait_for_window()
    point_at(s, 1000, 740)  # no hint over the face
    check(s.driver("send", MAIN_CLASS, 0)[0] == 0, "the widget did not answer")
    screen = s.screenshot(f"screen-{dpi}.png")
    picture = os.path.join(s.folder, name)
    subprocess.run(["convert", screen, "-crop", f"{window['width']}x{window['height']}+{window['left']}+"
                    f"{window['top']}", "+repage", picture], check=True)
    windows = {"main": size(window), "info": size(s.wait_for_window(INFO_CLASS))}
    post_command(s, ABOUT_ACTION)
    windows["about"] = size(s.wait_for_window(ABOUT_CLASS))
    check(s.driver("send", MAIN_CLASS, 0x935, 0, 0)[0] == 0, "the widget could not be closed")
    s.wait_for_exit(widget)
    return picture, windows


@with_server
def test_at_192_dpi_the_windows_are_twice_as_large_and_look_the_same(s, server):
    s.write_options(options_for(server, "ShowInfoText=1\nInfoTextLeft=600\nInfoTextTop=100\n"))
    s.display.set_background("#4a7ab0")
    small, sizes96 = grab_widget(s, server, 96, "display-scale-96.png")
    check(sizes96 == {"main": (233, 248), "info": (209, 204), "about": (329, 249)}, f"at 96 DPI: {sizes96}")
    large, sizes192 = grab_widget(s, server, 192, "display-scale-192.png")
    check(sizes192 == {"main": (466, 496), "info": (418, 408), "about": (658, 498)}, f"at 192 DPI: {sizes192}")

    halved = os.path.join(s.folder, "display-scale-192-halved.png")
    subprocess.run(["convert", large, "-filter", "box", "-resize", "50%", halved], check=True)
    result = subprocess.run(["compare", "-metric", "RMSE", halved, small, "null:"], capture_output=True, text=True)
    measured = re.search(r"\(([0-9.e-]+)\)", result.stderr)
    check(measured, f"compare gave no measure: {result.stderr!r}")
    rmse = float(measured.group(1))
    print(f"halved 192-DPI widget against the 96-DPI one: normalised RMSE {rmse:.4f}", flush=True)
    check(rmse <= MOST_RMSE, f"the halved 192-DPI widget differs from the 96-DPI one: RMSE {rmse:.4f}")
    if os.environ.get("NIMBO_SCREENSHOTS") == "1":
        for picture in (small, large):
            shutil.copy2(picture, os.path.join(SCREENSHOTS, os.path.basename(picture)))


class ScaledSession(Session):
    """The cases change the prefix's DPI, so they keep prefixes of their own."""

    def __init__(self, name):
        super().__init__(name, prefix="wineprefix-dpi")


if __name__ == "__main__":
    run_tests(globals(), ScaledSession)
