#!/usr/bin/env python3
"""The widget at every display scale and for screen readers: the names each window gives its accessible object,
at a DPI of their own."""
import re

from harness import MAIN_CLASS, Session, check, post_command, run_tests, tray_tip, wait_for_tip, wait_until, with_server

ABOUT_ACTION = 107
REFRESH_ACTION = 106
INFO_CLASS = "TInfoTextForm"
ABOUT_CLASS = "TAboutForm"
FEED_PATH = "/forecastrss/TUXX0014_c.xml"


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
    # Its lines as sentences: the condition, the humidity and the address.
    check(re.fullmatch(r"Yağışlı\. Nem oranı: %\d+\. IP: 127\.0\.0\.1", info or ""),
          f"the information window's name: {info!r}")
    post_command(s, ABOUT_ACTION)
    s.wait_for_window(ABOUT_CLASS)
    about = accessible_name(s, ABOUT_CLASS)
    check(about.startswith("Açık kaynak bir projede eğitim amacıyla hazırlanmıştır. Hava durumu: Open-Meteo"),
          f"the about window's name: {about!r}")

    # A failed download: the name says so at once.
    server.rule(FEED_PATH, "cut")
    post_command(s, REFRESH_ACTION)
    wait_until(lambda: accessible_name(s, MAIN_CLASS) == "Nimbo! Bağlantı yok.", 60, "the name without a connection")
    check(tray_tip(s) == "Nimbo! - Bağlantı yok", "the name changed before the face did")


class ScaledSession(Session):
    """The cases change the prefix's DPI, so they keep prefixes of their own."""

    def __init__(self, name):
        super().__init__(name, prefix="wineprefix-dpi")


if __name__ == "__main__":
    run_tests(globals(), ScaledSession)
