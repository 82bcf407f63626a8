#!/usr/bin/env python3
"""Where the widget keeps its settings: beside a portable copy whatever folder it is started from, and for an
installation under Program Files in each user's profile (Wine reports a Windows after Vista)."""
import getpass
import os
import shutil

from harness import MAIN_CLASS, check, run_tests, wait_until, with_server

INSTALLED_EXE = r"C:\Program Files\Pelvar\Nimbo\Nimbo.exe"
FEED = "/forecastrss/TUXX0014_c.xml"


def drive_c(s):
    return os.path.join(s.env["WINEPREFIX"], "drive_c")


def profile_copy(s):
    return os.path.join(drive_c(s), "users", getpass.getuser(), "AppData", "Roaming", "Pelvar", "Nimbo", "Options.ini")


def position(s):
    window = s.wait_for_window()
    return int(window["left"]), int(window["top"])


def move_and_exit(s, widget, exe=None):
    check(s.driver("move", MAIN_CLASS, 123, 77)[0] == 0, "the driver could not move the widget")
    check(s.run("/exit", exe=exe) == 0, "the closing start did not end with code 0")
    s.wait_for_exit(widget)


def test_a_portable_copy_keeps_its_settings_beside_it_whatever_the_current_folder(s):
    s.write_options("[Appearance]\nLeft=50\nTop=70\n[General]\nFirstUsage=0\nCheckNewVersion=0\n", cities=False)
    # The harness starts the programs from the folder above the installation.
    decoy = os.path.join(s.folder, "Options.ini")
    s.write_options("[Appearance]\nLeft=600\nTop=400\n", cities=False, path=decoy)
    decoy_bytes = open(decoy, "rb").read()
    shutil.rmtree(os.path.dirname(profile_copy(s)), ignore_errors=True)
    widget = s.start()
    at = position(s)
    check(at == (50, 70), f"the settings beside the program were not read: {at}")
    move_and_exit(s, widget)
    appearance = s.read_options()["Appearance"]
    check((appearance["Left"], appearance["Top"]) == ("123", "77"), f"not saved beside the program: {appearance}")
    check(open(decoy, "rb").read() == decoy_bytes, "the current folder's Options.ini changed")
    check(not os.path.exists(profile_copy(s)), "a portable copy made a profile copy")


@with_server
def test_an_installation_under_program_files_keeps_each_users_settings_in_the_profile(s, server):
    folder = os.path.join(drive_c(s), "Program Files", "Pelvar", "Nimbo")
    shutil.rmtree(os.path.dirname(folder), ignore_errors=True)
    shutil.copytree(s.install, folder)
    shutil.rmtree(os.path.dirname(profile_copy(s)), ignore_errors=True)
    installed = os.path.join(folder, "Options.ini")
    # As an earlier version left it: one ANSI file that every user shared, and a data service that is gone.
    servers = "".join(f"{key}=http://127.0.0.1:9\n" for key in ("Weather", "Search", "Web", "Address"))
    s.write_options(f"[Servers]\n{servers}[General]\nFirstUsage=0\nCheckNewVersion=0\n"
                    "[Appearance]\nLeft=50\nTop=70\n[Favorites]\nŞanlıurfa=298333\n", ansi="cp1254", path=installed)
    installed_bytes = open(installed, "rb").read()
    widget = s.start(exe=INSTALLED_EXE)
    at = position(s)
    check(at == (50, 70), f"the installed settings were not read: {at}")
    move_and_exit(s, widget, INSTALLED_EXE)
    check(open(installed, "rb").read() == installed_bytes, "the installed Options.ini changed")
    check(open(profile_copy(s), "rb").read(2) == b"\xff\xfe", "the profile copy is not UTF-16LE")
    copy = s.read_options(profile_copy(s))
    check((copy["Appearance"]["Left"], copy["Appearance"]["Top"]) == ("123", "77"), f"not saved: {copy}")
    check(copy["Favorites"] == {"Şanlıurfa": "298333"}, f"the user's favourites were not copied: {copy}")
    check("Servers" not in copy and "CitiesTU" not in copy, f"the machine's sections were copied: {list(copy)}")

    # A later setup points the machine at a working server: the user's older copy follows it and is kept as it is.
    servers = "".join(f"{key}={server.base}\n" for key in ("Weather", "Search", "Web", "Address"))
    s.write_options(f"[Servers]\n{servers}[Appearance]\nLeft=400\nTop=300\n", path=installed)
    widget = s.start(exe=INSTALLED_EXE)
    at = position(s)
    check(at == (123, 77), f"the profile copy was not used as it is: {at}")
    wait_until(lambda: server.requests(FEED), 60, "the feed from the machine's new server")
    check(s.run("/exit", exe=INSTALLED_EXE) == 0, "the closing start did not end with code 0")
    s.wait_for_exit(widget)
    # The prefix serves other cases later.
    shutil.rmtree(os.path.dirname(folder))
    shutil.rmtree(os.path.dirname(os.path.dirname(profile_copy(s))))


if __name__ == "__main__":
    run_tests(globals())
