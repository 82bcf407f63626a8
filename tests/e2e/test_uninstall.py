#!/usr/bin/env python3
"""Setup.exe and Uninstall.exe end to end, in a Wine prefix of their own: what the installer lays out, and what the
uninstaller closes, shows and removes, answered through its message boxes."""
import getpass
import os
import re
import shutil
import subprocess

from harness import MAIN_CLASS, SOURCE_DIR, WIN64_DIR, WINE, Session, check, decode_options, run_tests, wait_until, wine_prefix
from installed_set import FOLDERS, installed_files

PREFIX = "wineprefix-install"
DRIVE_C = os.path.join(wine_prefix(PREFIX), "drive_c")
INSTALL = r"C:\Program Files\Pelvar\Nimbo"
INSTALL_DIR = os.path.join(DRIVE_C, "Program Files", "Pelvar", "Nimbo")
USER_DIR = os.path.join(DRIVE_C, "users", getpass.getuser())
TEMP_DIR = os.path.join(USER_DIR, "Temp")
# The settings the widget keeps for this user (Vista and later, installed under Program Files).
USER_MAKER_DIR = os.path.join(USER_DIR, "AppData", "Roaming", "Pelvar")
USER_SETTINGS = os.path.join(USER_MAKER_DIR, "Nimbo", "Options.ini")
SETUP = os.path.join(WIN64_DIR, "Setup.exe")
DRIVER = os.path.join(WIN64_DIR, "nimbo_driver.exe")
HUNG_WIDGET = os.path.join(WIN64_DIR, "nimbo_hung_widget.exe")
PENDING_KEY = r"HKLM\System\CurrentControlSet\Control\Session Manager"
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
        shutil.rmtree(USER_MAKER_DIR, ignore_errors=True)
        for name in os.listdir(TEMP_DIR) if os.path.isdir(TEMP_DIR) else []:
            if name.startswith("Nimbo-") or name == "~ovx.tmp":
                path = os.path.join(TEMP_DIR, name)
                subprocess.run(["chmod", "-R", "u+w", path], check=False)
                shutil.rmtree(path) if os.path.isdir(path) else os.remove(path)
        self.registry("delete", PENDING_KEY, "/v", "PendingFileRenameOperations", "/f")

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

    def run_setup(self, server=SERVER, folder=None, trace=None, expect=0):
        """Setup.exe /S; with `trace`, the Wine debug channels whose log trace_log() then reads."""
        options = ["/S"] + (["/SERVER=" + server] if server else []) + (["/D=" + folder] if folder else [])
        if trace:
            self.env["WINEDEBUG"] = "-all," + ",".join("+" + channel for channel in trace)
        try:
            code = self.run(*options, exe=SETUP, timeout=180)
        finally:
            self.env["WINEDEBUG"] = "-all"
        self.setup_log = os.path.join(self.folder, "wine-%d.log" % (len(self.processes) - 1))
        check(code == expect, f"Setup.exe {' '.join(options)} ended with {code}, not {expect}")

    def trace_log(self):
        with open(self.setup_log, "rb") as log:
            return log.read().decode("utf-8", "replace")

    def pending_deletions(self):
        """The files and folders Windows deletes when it next starts."""
        values = self.reg_values(PENDING_KEY) or {}
        return values.get("PendingFileRenameOperations", "")

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

    def shown_setup_title(self):
        """The title of the setup's window or message box (its pages change it), or None."""
        self.driver("titles")
        with open(os.path.join(self.folder, "driver.out"), encoding="utf-8") as out:
            return next((line[6:] for line in out.read().splitlines()
                         if line.startswith("title=") and "Nimbo" in line), None)

    def setup_title(self):
        return wait_until(self.shown_setup_title, 60, "the setup's window")

    def click_through_setup(self, setup):
        """Next, I agree, Install, then Finish as it stands: button 1 of every page, pressed once it is enabled."""
        def next_button_enabled():
            title = self.shown_setup_title()
            return title and self.driver("control", title, IDOK)[1].get("enabled") == "1" and title
        while setup.poll() is None:
            title = wait_until(lambda: setup.poll() is not None or next_button_enabled(), 120, "the setup's next page")
            if setup.poll() is None:
                self.driver("dialog-click", title, IDOK)

    def uninstaller_copies(self):
        """The folders the uninstaller copied itself into."""
        return sorted(name for name in os.listdir(TEMP_DIR) if name.startswith("Nimbo-"))


def plant_marker_program():
    """A program planted where the uninstaller once copied itself, read-only so that no copy can replace it: it holds
    a widget window while it runs, so the test sees whether it was started."""
    planted = os.path.join(TEMP_DIR, "~ovx.tmp")
    os.makedirs(TEMP_DIR, exist_ok=True)
    shutil.copy(HUNG_WIDGET, planted)
    os.chmod(planted, 0o444)
    return planted


def modification_times():
    return {relative: os.stat(unix(relative)).st_mtime for relative in installed_files()}


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


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
    # This user's settings go with the widget; another product's folder beside them stays.
    os.makedirs(os.path.dirname(USER_SETTINGS))
    with open(USER_SETTINGS, "wb") as f:
        f.write(b"[Location]\r\nCityID=TUXX0014\r\n")
    os.makedirs(os.path.join(USER_MAKER_DIR, "Another"))
    with open(os.path.join(USER_MAKER_DIR, "Another", "keep.txt"), "wb") as f:
        f.write(b"another product's")
    planted = plant_marker_program()
    with open(unix("\\Uninstall.exe"), "rb") as f:
        uninstaller = f.read()

    widget = s.start_widget()
    texts = s.start_uninstaller()
    check(any(t.startswith("Nimbo ve bileşenleri bilgisayarınızdan tamamen kaldırlacak.") for t in texts),
          f"not the confirmation box: {texts}")
    check(re.search("kaldırlacak\\.\r+\nEğer kaldırmak isterseniz Evet'i, işlemden vazgeçmek için Hayır'ı seçin\\.",
                    confirmation_text(s)), "the confirmation's second line is missing")
    copies = s.uninstaller_copies()
    check(len(copies) == 1, f"not one folder of the uninstaller's own in the temporary folder: {copies}")
    copy = os.path.join(TEMP_DIR, copies[0], "Uninstall.exe")
    with open(copy, "rb") as f:
        check(f.read() == uninstaller, "the copy that runs is not the uninstaller's own bytes")
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
    check(not os.path.exists(os.path.dirname(USER_SETTINGS)), "this user's settings stay")
    check(os.listdir(USER_MAKER_DIR) == ["Another"], f"the user's maker folder holds {os.listdir(USER_MAKER_DIR)}")
    # The planted program never ran, and the running copy goes when Windows next starts.
    check(s.window_count() == 0, "a widget window is left: the planted program ran")
    with open(planted, "rb") as f, open(HUNG_WIDGET, "rb") as original:
        check(f.read() == original.read(), "the planted file was changed")
    pending = s.pending_deletions()
    windows_copy = "C:\\users\\" + getpass.getuser() + "\\Temp\\" + copies[0]
    check(windows_copy.lower() + "\\uninstall.exe" in pending.lower() and pending.lower().count(windows_copy.lower()) == 2,
          f"the copy and its folder are not deleted at the next start: {pending!r}")


def test_setup_again_closes_the_running_widget_and_replaces_every_file(s):
    s.run_setup()
    widget = s.start_widget()
    with open(unix("\\Options.ini"), "ab") as ini:
        ini.write("[Mine]\r\nKept=yes\r\n".encode("utf-16-le"))
    old = 946684800  # 2000-01-01: every file the setup writes again gets its packed time back
    for relative in installed_files():
        os.utime(unix(relative), (old, old))
    s.run_setup(trace=["process"])
    s.wait_for_exit(widget, 60)
    with open(unix("\\Options.ini"), "rb") as ini:
        check("Kept=yes" in decode_options(ini.read()), "the reinstall replaced the settings file")
    s.check_installed()
    kept = sorted(relative for relative, mtime in modification_times().items() if mtime == old)
    check(kept == [], f"files not written again: {kept}")
    started = re.findall(r"trace:process:\w+ app (.*)", s.trace_log())
    check(not any("icacls" in line.lower() for line in started), f"the setup started icacls: {started}")
    check(not any("nimbo.exe" in line.lower() for line in started), f"the setup started the widget: {started}")


def test_setup_over_a_hung_widget_ends_it_within_its_bound(s):
    s.run_setup()
    # The installed widget stops answering: it holds the widget's mutex and window but reads no message.
    shutil.copy(HUNG_WIDGET, unix("\\Nimbo.exe"))
    hung = s.start(exe=INSTALL + "\\Nimbo.exe")
    s.wait_for_window(visible=False)
    s.run_setup()
    s.wait_for_exit(hung, 30)
    with open(unix("\\Nimbo.exe"), "rb") as installed, open(os.path.join(WIN64_DIR, "setup", "stage", "Nimbo.exe"),
                                                              "rb") as shipped:
        check(installed.read() == shipped.read(), "the hung widget's Nimbo.exe was not replaced")


def test_the_setup_writes_only_where_it_may_and_protects_a_folder_of_its_own(s):
    # A server that is no web address ends the setup, silent or not, before it writes anything.
    setup = s.start("/S", "/SERVER=file:///C:/Windows/System32/calc.exe", exe=SETUP)
    title = s.setup_title()
    texts = s.wait_for_dialog(title)
    check(any("/SERVER=" in text and "http://" in text for text in texts), f"not the server message: {texts}")
    s.driver("dialog-press", title, IDOK)
    check(s.wait_for_exit(setup, 60) == 2, "the setup did not fail with exit code 2")
    check(not os.path.exists(os.path.join(DRIVE_C, "Program Files", "Pelvar")), "the setup wrote files")
    check(s.reg_values(WIDGET_KEY) is None and s.reg_values(UNINSTALL_KEY) is None, "the setup wrote keys")
    # A folder outside Program Files that holds something else is refused: its permissions are not the setup's.
    other = os.path.join(DRIVE_C, "Belgeler")
    shutil.rmtree(other, ignore_errors=True)
    os.makedirs(other)
    with open(os.path.join(other, "mine.txt"), "wb") as f:
        f.write(b"the user's own")
    setup = s.start("/S", "/SERVER=" + SERVER, "/D=C:\\Belgeler", exe=SETUP)
    title = s.setup_title()
    s.driver("dialog-press", title, IDOK)
    check(s.wait_for_exit(setup, 60) == 3, "the setup did not fail with exit code 3")
    check(os.listdir(other) == ["mine.txt"], f"the setup wrote into the user's folder: {os.listdir(other)}")
    # A new folder gets them before anything is copied: administrators and the system change, users read and run.
    folder = os.path.join(DRIVE_C, "Araclar")
    shutil.rmtree(folder, ignore_errors=True)
    s.run_setup(folder="C:\\Araclar\\Nimbo", trace=["advapi", "security"])
    check(os.path.isfile(os.path.join(folder, "Nimbo", "Uninstall.exe")), "nothing was installed")
    log = s.trace_log()
    check('ConvertStringSecurityDescriptorToSecurityDescriptorW L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)'
          '(A;OICI;0x1200a9;;;BU)"' in log, "the folder's permissions were not asked for")
    protected = re.findall(r'SetNamedSecurityInfoW L"([^"]*)" 1 -2147483644', log)
    check([path.replace("\\\\", "\\") for path in protected] == ["C:\\Araclar\\Nimbo"],
          f"the permissions were not set on the folder alone: {protected}")
    shutil.rmtree(folder, ignore_errors=True)
    shutil.rmtree(other, ignore_errors=True)


def test_the_widget_started_at_the_end_of_setup_runs_as_the_user(s):
    # As in a signed-in administrator's session with User Account Control: the desktop shell runs with the limited
    # token, the setup (started from the Unix side) with the full one.
    code = s.driver("limited", 60000, windows_path(DRIVER), "shell-ready", 30000, timeout=90)[0]
    check(code == 0, "no desktop shell with the limited token")
    setup = s.start(exe=SETUP)
    s.click_through_setup(setup)
    check(setup.returncode == 0, f"the setup ended with {setup.returncode}")
    s.wait_for_window()
    code, facts = s.driver("elevation", MAIN_CLASS)
    check(code == 0 and facts["elevation"] == "limited", f"the widget runs with a {facts.get('elevation')} token")


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
    # A second uninstaller in removal mode ends at once while the first one asks, whatever folder it runs from.
    second_copy = os.path.join(TEMP_DIR, "Nimbo-second", "Uninstall.exe")
    os.makedirs(os.path.dirname(second_copy))
    shutil.copy(os.path.join(TEMP_DIR, s.uninstaller_copies()[0], "Uninstall.exe"), second_copy)
    second = s.start("-uninstall", exe=second_copy)
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
