#!/usr/bin/env python3
"""Start-up, the single-instance rule, the exit switch and the settings the widget keeps."""
import os
import shutil
import subprocess

from harness import MAIN_CLASS, check, run_tests, wait_until, windows_path

WS_EX_TOOLWINDOW = 0x80
WS_EX_APPWINDOW = 0x40000
WS_EX_LAYERED = 0x80000


def pixel(path, x, y):
    text = subprocess.run(["convert", path, "-format", "%[fx:int(255*r)],%[fx:int(255*g)],%[fx:int(255*b)]",
                           "-crop", f"1x1+{x}+{y}", "info:"], check=True, capture_output=True, text=True).stdout
    return tuple(int(v) for v in text.split(","))


def drawn_share(path, window, background):
    """The share of the window's rectangle in a screenshot that differs from the desktop's colour."""
    crop = f"{window['width']}x{window['height']}+{window['left']}+{window['top']}"
    text = subprocess.run(["convert", path, "-crop", crop, "+repage", "-fuzz", "3%", "-transparent", background,
                           "-alpha", "extract", "-format", "%[fx:mean]", "info:"],
                          check=True, capture_output=True, text=True).stdout
    return float(text)


DESKTOP = "#d8c9a0"


def test_first_start_shows_the_widget_where_the_defaults_put_it(s):
    s.display.set_background(DESKTOP)
    widget = s.start()
    window = s.wait_for_window()
    check((int(window["left"]), int(window["top"])) == (300, 300), f"the widget is not at (300, 300): {window}")
    check((int(window["width"]), int(window["height"])) == (233, 248), f"the widget is not 233 x 248: {window}")
    exstyle = int(window["exstyle"], 16)
    check(exstyle & WS_EX_LAYERED, "the widget is not a layered window")
    check(exstyle & WS_EX_TOOLWINDOW and not exstyle & WS_EX_APPWINDOW, "the widget would get a task-bar button")
    # The face fades in: wait until a good part of the window's rectangle no longer shows the desktop.
    shot = wait_until(lambda: (p := s.screenshot("widget.png")) and drawn_share(p, window, DESKTOP) > 0.2 and p,
                      30, "the widget to be seen on the desktop")
    check(pixel(shot, 5, 5) == (0xd8, 0xc9, 0xa0) and pixel(shot, 1000, 700) == (0xd8, 0xc9, 0xa0),
          "the desktop outside the widget is not untouched")
    check(pixel(shot, 300, 300) == (0xd8, 0xc9, 0xa0), "the widget's rounded corner is not transparent")
    check(widget.poll() is None, "the widget ended by itself")


def test_second_start_brings_the_running_widget_forward_and_ends(s):
    widget = s.start()
    s.wait_for_window()
    check(s.run() == 0, "the second start did not end with code 0")
    check(s.window_count() == 1, "a second widget window appeared")
    check(widget.poll() is None, "the first widget ended")


def test_exit_switch_closes_the_widget_and_saves_its_place(s):
    widget = s.start()
    s.wait_for_window()
    code, _ = s.driver("move", MAIN_CLASS, 123, 77)
    check(code == 0, "the driver could not move the widget")
    check(s.run("/EXIT") == 0, "Nimbo.exe /EXIT did not end with code 0")
    # The close request is sent, not posted: the settings are written before the second process ends.
    options = s.read_options()
    check(options.get("General", {}).get("FirstUsage") == "0", f"FirstUsage was not saved as 0: {options}")
    appearance = options.get("Appearance", {})
    check((appearance.get("Left"), appearance.get("Top")) == ("123", "77"), f"position not saved: {appearance}")
    location = options.get("Location", {})
    check(location == {"CityName": "Istanbul", "CityID": "TUXX0014"}, f"place not saved: {location}")
    check(s.wait_for_exit(widget) == 0, "the widget did not end with code 0")
    check(s.window_count() == 0, "a widget window is left")


def test_exit_switch_only_ever_closes(s):
    check(s.run("-exit") == 0, "Nimbo.exe -exit with no widget running did not end with code 0")
    check(s.window_count() == 0, "-exit started a widget")
    # A widget of another folder is not this file's one: -exit leaves it running and starts none of its own.
    other = os.path.join(s.folder, "Other")
    shutil.copytree(s.install, other)
    widget = s.start(exe=os.path.join(other, "Nimbo.exe"))
    s.wait_for_window()
    check(s.run("/exit") == 0, "Nimbo.exe /exit beside another folder's widget did not end with code 0")
    check(s.window_count() == 1 and widget.poll() is None, "-exit closed another folder's widget or started one")


def test_stored_settings_place_the_widget_and_survive_a_run(s):
    s.write_options("[Appearance]\nLeft=40\nTop=60\nViewStyle=1\n[General]\nFirstUsage=0\n"
                    "[Location]\nCityName=Şanlıurfa\nCityID=TUXX0027\n[Favorites]\nİzmir=TUXX0015\n")
    widget = s.start()
    window = s.wait_for_window()
    check((int(window["left"]), int(window["top"])) == (40, 60), f"the stored position was not used: {window}")
    check(s.run("/exit") == 0, "the widget could not be closed")
    s.wait_for_exit(widget)
    options = s.read_options()
    check(options["Location"] == {"CityName": "Şanlıurfa", "CityID": "TUXX0027"}, f"place lost: {options}")
    check(options["Favorites"] == {"İzmir": "TUXX0015"}, f"favourites lost: {options}")
    check(options["Appearance"]["ViewStyle"] == "1", f"view style lost: {options}")
    check(options["General"] == {"FirstUsage": "0"}, f"FirstUsage rewritten: {options}")


def test_a_widget_saved_off_screen_comes_back_and_a_partly_shown_one_stays(s):
    for left, top, expected in ((-5000, 4000, None), (-150, 60, (-150, 60))):
        s.write_options(f"[Appearance]\nLeft={left}\nTop={top}\n[General]\nFirstUsage=0\n")
        widget = s.start()
        window = s.wait_for_window()
        position = (int(window["left"]), int(window["top"]))
        if expected:
            check(position == expected, f"a widget a third on screen was moved: {window}")
        else:
            # The display is 1024 x 768 (Wine's work area may keep a task bar's room at the bottom).
            check(0 <= position[0] <= 1024 - 233 and 0 <= position[1] <= 768 - 248,
                  f"the widget was not brought back onto the screen: {window}")
        check(s.run("/exit") == 0, "the widget could not be closed")
        s.wait_for_exit(widget)


def test_read_only_settings_file_gives_an_error_box_and_no_crash(s):
    s.write_options("[General]\nFirstUsage=1\n[Appearance]\nLeft=50\nTop=70\n")
    before = open(s.options_path, "rb").read()
    s.make_read_only(s.options_path)
    widget = s.start()
    s.wait_for_window()
    closer = s.start("/EXIT")
    texts = s.wait_for_dialog("Nimbo!")
    check(f"Unable to write to {windows_path(s.options_path)}." in texts, f"unexpected error box: {texts}")
    check(s.driver("dialog-press", "Nimbo!", 1)[0] == 0, "the error box could not be answered")
    check(s.wait_for_exit(closer) == 0, "the closing start did not end with code 0")
    check(s.wait_for_exit(widget) == 0, "the widget did not end cleanly after the error")
    check(open(s.options_path, "rb").read() == before, "the read-only settings file changed")


def test_windows_older_than_xp_gets_the_turkish_refusal_and_no_widget(s):
    app_key = "HKCU\\Software\\Wine\\AppDefaults\\Nimbo.exe"
    check(s.registry("add", app_key, "/v", "Version", "/d", "win2k", "/f") == 0, "could not pretend Windows 2000")
    try:
        refused = s.start()
        texts = s.wait_for_dialog("Hata")
        check("Üzgünüm! Bu program ancak Windows XP veya üzeri işletim sistemlerinde çalışabilmektedir." in texts,
              f"unexpected refusal text: {texts}")
        check(s.window_count() == 0, "a widget window was made on Windows 2000")
        s.driver("dialog-press", "Hata", 1)
        check(s.wait_for_exit(refused) == 0, "the refused start did not end with code 0")
    finally:
        s.registry("delete", app_key, "/f")
    # Nothing was left behind: the next start on a supported system runs normally.
    s.start()
    s.wait_for_window()


if __name__ == "__main__":
    run_tests(globals())
