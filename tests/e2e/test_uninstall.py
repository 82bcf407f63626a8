#!/usr/bin/env python3
"""Setup.exe and Uninstall.exe end to end, in a Wine prefix of their own: what the installer lays out, and what the
uninstaller closes, shows and removes, answered through its message boxes."""
import getpass
import os
import re
import shutil
import subprocess

from harness import SOURCE_DIR, WIN64_DIR, WINE, Session, check, decode_options, run_tests, wait_until, wine_prefix
from installed_set import FOLDERS, installed_files

PREFIX = "wineprefix-install"
DRIVE_C = os.path.join(wine_prefix(PREFIX), "drive_c")
INSTALL = r"C:\Program Files\Pelvar\Nimbo"
INSTALL_DIR = os.path.join(DRIVE_C, "Program Files", "Pelvar", "Nimbo")
USER_DIR = os.path.join(DRIVE_C, "users", getpass.getuser())
PROGRAMS_DIR = os.path.join(USER_DIR, "AppData", "Roaming", "Microsoft", "Windows", "Start Menu", "Programs")
GROUP_DIR = os.path.join(PROGRAMS_DIR, "Nimbo")
SHORTCUTS = [os.path.join(USER_DIR, "Desktop", "Nimbo!.lnk"), os.path.join(PROGRAMS_DIR, "StartUp", "Nimbo!.lnk"),
             os.path.join(USER_DIR, "AppData", "Roaming", "Microsoft", "Internet Explorer", "Quick Launch",
                          "Nimbo!.lnk")]
GROUP_ITEMS = ["Nimbo!.lnk", "Nimbo! Anasayfa.url", "Kaldır.lnk"]
SERVER = "http://127.0.0.1:9"
SHEET = "Nimbo! 1.50 Kurulum Sihirbazı"
CAPTION = "Nimbo Kaldır"
MARKER_CLASS = "setupnimbo_installer_1.0_Mutex"
IDOK, IDCANCEL, IDYES, IDNO = 1, 2, 6, 7
WIDGET_KEY = r"HKLM\SOFTWARE\Pelvar\Nimbo"
APP_PATHS_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\App Paths\Nimbo.exe"
UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Nimbo"


def unix(relative):
    return os.path.join(INSTALL_DIR, *relative.strip("\\").split("\\"))


def files_on_disk():
    found = set()
    for folder, _, names in os.walk(INSTALL_DIR):
        for name in names:
            found.add("\\" + os.path.relpath(os.path.join(folder, name), INSTALL_DIR).replace("/", "\\"))
    return found


class InstallSession(Session):
    """A session in the installer's own prefix, emptied of any earlier installation."""

    def __init__(self, name):
        super().__init__(name, prefix=PREFIX)
        # Wine links the user's shell folders to the home folder; the shortcuts must stay inside the prefix.
        for folder in ("Desktop", "Documents", "Downloads", "Music", "Pictures", "Videos"):
            path = os.path.join(USER_DIR, folder)
            if os.path.islink(path):
                os.unlink(path)
                os.makedirs(path)
        shutil.rmtree(os.path.join(DRIVE_C, "Program Files", "Pelvar"), ignore_errors=True)
        shutil.rmtree(os.path.join(USER_DIR, "AppData", "Roaming", "Pelvar"), ignore_errors=True)
        shutil.rmtree(GROUP_DIR, ignore_errors=True)
        for path in SHORTCUTS:
            if os.path.exists(path):
                os.remove(path)
        for key in (r"HKLM\SOFTWARE\Pelvar", APP_PATHS_KEY, UNINSTALL_KEY):
            self.registry("delete", key, "/f")

    def reg_values(self, key):
        """{name: data} of a key ("" the default value), or None when the key is missing."""
        result = subprocess.run([WINE, "reg", "query", key], env=self.env, capture_output=True, timeout=120)
        if result.returncode != 0:
            return None
        values = {}
        for line in result.stdout.decode("utf-8", "replace").splitlines():
            match = re.match(r"^    (.+?)    (REG_\w+)    ?(.*)$", line)
            if match:
                name = "" if match.group(1).startswith("(") else match.group(1)
                values[name] = match.group(3)
        return values

    def run_setup(self, server=SERVER):
        options = ["/S"] + (["/SERVER=" + server] if server else [])
        code = self.run(*options, exe=os.path.join(WIN64_DIR, "Setup.exe"), timeout=180)
        check(code == 0, f"Setup.exe {' '.join(options)} ended with {code}")

    def servers(self):
        values, section = {}, None
        with open(unix("\\Options.ini"), "rb") as ini:
            for line in decode_options(ini.read()).split("\r\n"):
                if line.startswith("["):
                    section = line
                elif section == "[Servers]" and "=" in line:
                    key, value = line.split("=", 1)
                    values[key] = value
        return values

    def start_widget(self):
        widget = self.start(exe=INSTALL + "\\Nimbo.exe")
        self.wait_for_window()
        return widget

    def start_uninstaller(self):
        """Uninstall.exe without an argument, which must end at once; its temporary copy's list box is traced."""
        self.env["WINEDEBUG"] = "-all,+listbox"
        try:
            first = self.start(exe=INSTALL + "\\Uninstall.exe")
        finally:
            self.env["WINEDEBUG"] = "-all"
        check(self.wait_for_exit(first, 60) == 0, "Uninstall.exe did not end with code 0")
        self.uninstaller_log = os.path.join(self.folder, "wine-%d.log" % (len(self.processes) - 1))
        return self.wait_for_dialog(CAPTION)

    def wait_for_uninstaller_end(self, timeout=60):
        wait_until(lambda: self.window_count(MARKER_CLASS) == 0 and self.window_count("#32770") == 0, timeout,
                   "the uninstaller to end")

    def list_lines(self):
        """The lines put into the removal page's list, in order, each inserted at the top."""
        with open(self.uninstaller_log, "rb") as log:
            text = log.read().decode("utf-8", "replace")
        lines = []
        for index, line in re.findall(r'LISTBOX_InsertString \[\w+\]: added item (-?\d+) L"(.*)"', text):
            check(index == "0", f"a line was not put on top: {line}")
            lines.append(line.replace("\\\\", "\\"))
        return lines

    def check_installed(self):
        check(files_on_disk() == set(installed_files()), "the installation folder does not hold exactly the 112 files")
        check(self.reg_values(WIDGET_KEY) is not None, "the widget's key is missing")


def confirmation_text(s):
    with open(os.path.join(s.folder, "driver.out"), "rb") as out:
        return out.read().decode("utf-8", "replace")


def test_setup_lays_out_everything_and_uninstall_removes_it(s):
    s.run_setup()
    found = files_on_disk()
    check(found == set(installed_files()), f"installed files differ: extra {sorted(found - set(installed_files()))}, "
                                           f"missing {sorted(set(installed_files()) - found)}")
    with open(unix("\\Options.ini"), "rb") as ini:
        data = ini.read()
    # NSIS's INI functions keep the shipped file Unicode.
    check(data.startswith(b"\xff\xfe"), "the installed Options.ini is not UTF-16LE with a byte-order mark")
    options = decode_options(data)
    for key in ("Weather", "Search", "Web", "Address"):
        check(f"{key}={SERVER}" in options, f"Options.ini has no {key}={SERVER}")
    check("[CitiesTU]" in options, "Options.ini has no CitiesTU section")
    expected_keys = {
        WIDGET_KEY: {"": INSTALL + "\\Nimbo.exe", "Path": INSTALL, "Version": "1.60"},
        APP_PATHS_KEY: {"": INSTALL + "\\Nimbo.exe"},
        UNINSTALL_KEY: {"DisplayName": "Nimbo!", "Publisher": "Pelvar", "DisplayVersion": "1.60",
                        "DisplayIcon": INSTALL + "\\Nimbo.exe,0", "UninstallString": f'"{INSTALL}\\Uninstall.exe"'},
    }
    for key, values in expected_keys.items():
        found_values = s.reg_values(key)
        check(found_values is not None, f"{key} is missing")
        for name, data in values.items():
            check(found_values.get(name) == data, f"{key} {name!r} is {found_values.get(name)!r}, not {data!r}")
    for path in SHORTCUTS + [os.path.join(GROUP_DIR, item) for item in GROUP_ITEMS]:
        check(os.path.isfile(path), f"no shortcut {path}")
    s.registry("add", r"HKLM\SOFTWARE\Pelvar\Another", "/v", "Version", "/d", "2.0", "/f")

    widget = s.start_widget()
    texts = s.start_uninstaller()
    check(any(t.startswith("Nimbo ve bileşenleri bilgisayarınızdan tamamen kaldırlacak.") for t in texts),
          f"not the confirmation box: {texts}")
    check(re.search("kaldırlacak\\.\r+\nEğer kaldırmak isterseniz Evet'i, işlemden vazgeçmek için Hayır'ı seçin\\.",
                    confirmation_text(s)), "the confirmation's second line is missing")
    check(os.path.isfile(os.path.join(USER_DIR, "Temp", "~ovx.tmp")), "no copy ~ovx.tmp in the temporary folder")
    s.screenshot("confirmation.png")
    s.driver("dialog-press", CAPTION, IDYES)

    # The widget goes through its own "-exit" start from the installed folder (a path with a blank).
    s.wait_for_exit(widget, 60)
    code, _ = s.driver("wait-window", "#32770", SHEET, 30000)
    check(code == 0, "the removal sheet did not show")
    # Stopped half-way for a look: the newest line is on top.
    expected = [INSTALL + f for f in reversed(installed_files())] + [INSTALL + f for f in reversed(FOLDERS)]
    s.driver("freeze", SHEET, 1004, 60, 30000)
    s.screenshot("removal.png")
    code, listed = s.driver("list-box", SHEET, 1004)
    s.driver("thaw", SHEET)
    check(code == 0 and int(listed["count"]) > 0, "the removal page's list could not be read")
    check(listed["line"] == expected[int(listed["count"]) - 1], f"the newest line is not on top: {listed['line']}")
    s.wait_for_uninstaller_end()

    lines = s.list_lines()
    check(lines == expected, f"the list's lines are not the 120 items in order: {len(lines)} lines, "
                             f"first {lines[:2]}, last {lines[-2:]}")
    check(lines[-1] == INSTALL + "\\Contents", "\\Contents is not on top at the end")
    check(not os.path.exists(os.path.join(DRIVE_C, "Program Files", "Pelvar", "Nimbo")), "the installation folder stays")
    for key in (WIDGET_KEY, APP_PATHS_KEY, UNINSTALL_KEY):
        check(s.reg_values(key) is None, f"{key} stays")
    check(s.reg_values(r"HKLM\SOFTWARE\Pelvar\Another") == {"Version": "2.0"}, "another product's key went")
    for path in SHORTCUTS + [GROUP_DIR]:
        check(not os.path.exists(path), f"{path} stays")


def test_setup_again_closes_the_running_widget_and_keeps_its_settings(s):
    s.run_setup()
    widget = s.start_widget()
    with open(unix("\\Options.ini"), "ab") as ini:
        ini.write("[Mine]\r\nKept=yes\r\n".encode("utf-16-le"))
    s.run_setup()
    s.wait_for_exit(widget, 60)
    with open(unix("\\Options.ini"), "rb") as ini:
        check("Kept=yes" in decode_options(ini.read()), "the reinstall replaced the settings file")
    s.check_installed()


def test_setup_over_an_older_ansi_settings_file_makes_it_utf16_and_renews_its_turkey_list(s):
    os.makedirs(INSTALL_DIR)
    old = ("; eski\r\n[Servers]\r\nWeather=http://127.0.0.1:9\r\n[CitiesTU]\r\nEski=1\r\n\xdczmir=TUXX0015\r\n"
           "[Favorites]\r\nŞanlıurfa=298333\r\n[Location]\r\nCityName=Köln")
    with open(unix("\\Options.ini"), "wb") as ini:
        ini.write(old.encode("cp1254"))
    s.run_setup(server=None)
    with open(unix("\\Options.ini"), "rb") as ini:
        data = ini.read()
    check(data.startswith(b"\xff\xfe"), "the settings file is not UTF-16LE")
    text = decode_options(data)
    cities = text[text.index("[CitiesTU]"):].split("\r\n[")[0]
    with open(os.path.join(SOURCE_DIR, "resources", "Options.ini"), "rb") as shipped:
        shipped_text = decode_options(shipped.read())
    check(cities.strip() == shipped_text[shipped_text.index("[CitiesTU]"):].strip(), f"not the shipped list: {cities[:80]}")
    for line in ("; eski", "Weather=http://127.0.0.1:9", "[Favorites]\r\nŞanlıurfa=298333", "CityName=Köln"):
        check(line in text, f"the setup lost {line!r}: {text[:200]}")
    check(text.count("[CitiesTU]") == 1, "two Turkey lists")


def test_setup_without_a_server_chooses_direct_mode_but_keeps_a_chosen_server(s):
    s.run_setup(server=None)
    check(s.servers() == {"Weather": "direct"}, f"a first setup without /SERVER: {s.servers()}")
    s.run_setup()
    check(s.servers() == dict.fromkeys(("Weather", "Search", "Web", "Address"), SERVER),
          f"a setup with /SERVER: {s.servers()}")
    s.run_setup(server=None)
    check(s.servers()["Weather"] == SERVER, f"a setup without /SERVER replaced the chosen server: {s.servers()}")


def test_no_closes_and_removes_nothing(s):
    s.run_setup()
    widget = s.start_widget()
    s.start_uninstaller()
    # A second uninstaller in removal mode ends at once while the first one asks.
    second = s.start("-uninstall", exe=os.path.join(USER_DIR, "Temp", "~ovx.tmp"))
    check(s.wait_for_exit(second, 30) == 0, "the second uninstaller did not end with code 0")
    check(s.window_count("#32770") == 1, "the second uninstaller showed a box")
    s.driver("dialog-press", CAPTION, IDNO)
    s.wait_for_uninstaller_end()
    check(widget.poll() is None and s.window_count() == 1, "the widget was closed")
    s.check_installed()
    check(all(os.path.isfile(p) for p in SHORTCUTS), "a shortcut went")
    check(s.list_lines() == [], "something was listed for removal")


def test_another_version_gets_the_error_box_and_nothing_goes(s):
    s.run_setup()
    s.registry("add", WIDGET_KEY, "/v", "Version", "/d", "1.50", "/f")
    widget = s.start_widget()
    texts = s.start_uninstaller()
    check("Nimbo bilgisayarınıza yüklenmemiş yada yükleme ile ilgili bazı sistem dosyaları bozulmuş." in texts,
          f"not the error box: {texts}")
    s.screenshot("not-installed.png")
    s.driver("dialog-press", CAPTION, IDOK)
    s.wait_for_uninstaller_end()
    check(widget.poll() is None, "the widget was closed")
    s.check_installed()
    check(s.reg_values(UNINSTALL_KEY) is not None, "the Uninstall entry went")


def test_a_path_without_the_executable_removes_no_file(s):
    s.run_setup()
    # "Path" names a folder the recorded executable is not in: nothing there may go, not even a file of the list.
    other = os.path.join(DRIVE_C, "Program Files", "Pelvar", "Other")
    os.makedirs(other)
    with open(os.path.join(other, "Options.ini"), "wb") as f:
        f.write(b"[General]\r\n")
    s.registry("add", WIDGET_KEY, "/v", "Path", "/d", r"C:\Program Files\Pelvar\Other", "/f")
    s.start_uninstaller()
    s.driver("dialog-press", CAPTION, IDYES)
    s.wait_for_uninstaller_end()
    check(files_on_disk() == set(installed_files()), "installed files were removed")
    check(os.listdir(other) == ["Options.ini"], "the other folder was touched")
    check(s.list_lines() == [], "files were listed for removal")
    check(s.reg_values(WIDGET_KEY) is None and s.reg_values(UNINSTALL_KEY) is None, "the keys stay")
    check(not any(os.path.exists(p) for p in SHORTCUTS + [GROUP_DIR]), "shortcuts stay")


def test_cancel_during_the_removal_ends_it_where_it_is(s):
    s.run_setup()
    s.start_uninstaller()
    s.driver("dialog-press", CAPTION, IDYES)
    s.driver("freeze", SHEET, 1004, 30, 30000)
    code, listed = s.driver("list-box", SHEET, 1004)
    check(code == 0, "the removal page's list could not be read")
    s.driver("dialog-press", SHEET, IDCANCEL)
    s.wait_for_uninstaller_end(timeout=30)
    left = files_on_disk()
    check(0 < len(left) < 112, f"{len(left)} files left after a cancel half-way")
    check("\\Nimbo.exe" not in left and "\\Contents\\License.txt" in left, "not removed from the last file on")
    check(s.reg_values(WIDGET_KEY) is not None, "the keys went although the removal was cancelled before them")


def test_an_extra_file_keeps_its_folders_and_all_else_goes(s):
    s.run_setup()
    extra = unix("\\Contents\\Resources\\Big\\Mine.png")
    with open(extra, "wb") as f:
        f.write(b"the user's own picture")
    s.start_uninstaller()
    s.driver("dialog-press", CAPTION, IDYES)
    s.wait_for_uninstaller_end()
    check(files_on_disk() == {"\\Contents\\Resources\\Big\\Mine.png"}, f"left: {sorted(files_on_disk())}")
    for folder, inside in ((INSTALL_DIR, ["Contents"]), (unix("\\Contents"), ["Resources"]),
                           (unix("\\Contents\\Resources"), ["Big"])):
        check(sorted(os.listdir(folder)) == inside, f"{folder} holds {os.listdir(folder)}")
    check(s.reg_values(WIDGET_KEY) is None, "the widget's key stays")


def test_hung_widgets_do_not_stop_the_uninstaller(s):
    s.run_setup()
    hung = s.start(exe=os.path.join(WIN64_DIR, "nimbo_hung_widget.exe"))
    s.wait_for_window(visible=False)
    hung_oldest = s.start("oldest", exe=os.path.join(WIN64_DIR, "nimbo_hung_widget.exe"))
    s.wait_for_window("TMainForm", visible=False)
    s.start_uninstaller()
    s.driver("dialog-press", CAPTION, IDYES)
    # The "-exit" start and the oldest generation's WM_CLOSE get no answer: each wait is bounded, then the removal.
    s.wait_for_uninstaller_end(timeout=60)
    check(hung.poll() is None and hung_oldest.poll() is None, "a hung widget was ended")
    check(files_on_disk() == set(), f"left: {sorted(files_on_disk())}")
    check(s.reg_values(WIDGET_KEY) is None, "the widget's key stays")


if __name__ == "__main__":
    run_tests(globals(), session_class=InstallSession)
