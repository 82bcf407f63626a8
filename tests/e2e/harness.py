"""End-to-end harness: the real Windows programs under Wine on an Xvfb display of their own.

Each test case gets its own installation folder, its own X display and its own Wine processes, and ends
them itself. Waits are for conditions with deadlines, never fixed sleeps.

Cases run side by side (ctest runs each case as an entry of its own): each takes a Wine prefix that no other
running case holds, since a Wine session keeps the display it started with.
"""
import fcntl
import itertools
import os
import shutil
import signal
import subprocess
import sys
import traceback

SOURCE_DIR = os.environ.get("NIMBO_SOURCE_DIR", os.path.abspath(os.path.join(os.path.dirname(__file__), "../..")))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from waiting import wait_until  # noqa: E402,F401 (the suites take it from here)

WIN64_DIR = os.environ.get("NIMBO_WIN64_DIR", os.path.join(SOURCE_DIR, "build", "win64"))
WINE = "/usr/lib/wine/wine64"
MAIN_CLASS = "TNimboMainForm"
WM_WIDGET_SHOW = 0x934
WM_WIDGET_CLOSE = 0x935
WM_COMMAND = 0x111
# The prefixes' programs get the Turkish ANSI code page (Windows-1254); a case can ask for the default one of an
# English or German Windows (Windows-1252) instead, in the same prefix: Wine takes it from each process's locale.
TURKISH_LOCALE = "tr_TR.UTF-8"
DEFAULT_LOCALE = "C.UTF-8"


class TestFailure(AssertionError):
    pass


def check(condition, message):
    if not condition:
        raise TestFailure(message)


def with_server(test):
    """Runs `test(s, server)` with a loopback server of its own, which the case's Options.ini points at."""
    sys.path.insert(0, os.path.join(SOURCE_DIR, "tests", "server"))
    from loopback_client import Server

    def run(s):
        server = Server(s.folder)
        try:
            test(s, server)
        finally:
            server.close()

    run.__name__ = test.__name__
    return run


def under_default_code_page(test):
    """Runs the case with the default ANSI code page (1252), which has no byte for İ, ı, Ş, ş, Ğ or ğ."""
    test.locale = DEFAULT_LOCALE
    return test


def decode_options(data):
    """Options.ini's text: UTF-16LE after its byte-order mark, or ANSI (Windows-1254) as older versions wrote it."""
    return data[2:].decode("utf-16-le") if data.startswith(b"\xff\xfe") else data.decode("cp1254")


def encode_options(text, ansi=None):
    """Options.ini's bytes as the widget writes them, with CR LF line ends; or in the `ansi` code page, as an older
    version left them."""
    text = text.replace("\r\n", "\n").replace("\n", "\r\n")
    return text.encode(ansi) if ansi else b"\xff\xfe" + text.encode("utf-16-le")


def windows_path(path):
    """The Windows name of a file outside the prefix's drive C: (Wine's drive Z: is the root folder)."""
    return "Z:" + path.replace("/", "\\")


_held_prefixes = {}


def wine_prefix(name="wineprefix-e2e"):
    """This process's own Wine prefix of a kind: build/<name>-<n>, the first that no other running process holds
    (through its lock file), held until the process ends. scripts/wine_prefix.sh makes it when it is missing."""
    if name not in _held_prefixes:
        build = os.path.join(SOURCE_DIR, "build")
        os.makedirs(build, exist_ok=True)
        for number in itertools.count():
            path = os.path.join(build, f"{name}-{number}")
            lock = open(path + ".lock", "w")
            try:
                fcntl.flock(lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
            except BlockingIOError:
                lock.close()
                continue
            _held_prefixes[name] = (path, lock)
            break
    return _held_prefixes[name][0]


def tray_tip(s):
    """The tray icon's hint in session `s`, or None without an icon."""
    code, facts = s.driver("tray")
    check(code == 0, "the driver could not read the tray")
    return facts.get("tip", "") if int(facts.get("icons", "0")) > 0 else None


def wait_for_tip(s, predicate, what):
    return wait_until(lambda: (tip := tray_tip(s)) is not None and predicate(tip) and tip, 60, what)


def post_command(s, command):
    """Posts an action's command to the main window, as its menus and buttons do."""
    check(s.driver("post", MAIN_CLASS, WM_COMMAND, command, 0)[0] == 0, f"command {command} could not be posted")


def xdotool(s, *args):
    """Sends X input to the session's display, as a hand would: keys, mouse moves, button presses."""
    subprocess.run(["xdotool", *map(str, args)], env=s.env, check=True, timeout=60)


def point_at(s, x, y):
    """Moves the mouse and waits until Windows knows where it is, so that a click lands on what is there."""
    xdotool(s, "mousemove", x, y)
    wait_until(lambda: (f := s.driver("cursor")[1]) and (f.get("x"), f.get("y")) == (str(x), str(y)), 60,
               f"the mouse at ({x}, {y})")


def click_at(s, x, y, button=1):
    """Points at (x, y) and presses and releases the button as two events, as a hand makes them."""
    point_at(s, x, y)
    xdotool(s, "mousedown", button)
    xdotool(s, "mouseup", button)


def drag(s, x, y, dx, dy, steps=10):
    """Drags with the left button from (x, y) by (dx, dy) in even steps."""
    point_at(s, x, y)
    xdotool(s, "mousedown", 1)
    for step in range(1, steps + 1):
        xdotool(s, "mousemove", x + dx * step // steps, y + dy * step // steps)
    xdotool(s, "mouseup", 1)


class Display:
    """An Xvfb server on a free display number, chosen by Xvfb itself."""

    def __init__(self, log_path):
        read_end, write_end = os.pipe()
        self._log = open(log_path, "wb")
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
            pass_fds=(write_end,), stdout=self._log, stderr=subprocess.STDOUT)
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            number = pipe.readline().strip()
        check(number, "Xvfb did not report a display number")
        self.name = ":" + number

    def set_background(self, colour):
        # A coloured desktop makes transparency and the window's edges visible in screenshots.
        subprocess.run(["convert", "-size", "1024x768", "xc:" + colour, "/tmp/nimbo-bg-%d.png" % os.getpid()],
                       check=True)
        subprocess.Popen(["display", "-display", self.name, "-window", "root",
                          "/tmp/nimbo-bg-%d.png" % os.getpid()]).wait(timeout=30)

    def screenshot(self, path):
        subprocess.run(["import", "-display", self.name, "-window", "root", path], check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
        return path

    def close(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
        self._log.close()


class Session:
    """One test case: an installation folder, a display and the Wine processes started in it."""

    def __init__(self, name, prefix="wineprefix-e2e", locale=TURKISH_LOCALE):
        self.name = name
        self.folder = os.path.join(SOURCE_DIR, "build", "e2e", name)
        if os.path.isdir(self.folder):
            subprocess.run(["chattr", "-R", "-i", self.folder], stderr=subprocess.DEVNULL, check=False)
        shutil.rmtree(self.folder, ignore_errors=True)
        self.install = os.path.join(self.folder, "Nimbo")
        os.makedirs(os.path.join(self.install, "Contents", "Resources"))
        shutil.copy2(os.path.join(WIN64_DIR, "Nimbo.exe"), self.install)
        contents = os.path.join(WIN64_DIR, "Contents")
        if os.path.isdir(contents):
            shutil.copytree(contents, os.path.join(self.install, "Contents"), dirs_exist_ok=True)
        self.display = Display(os.path.join(self.folder, "xvfb.log"))
        self.env = dict(os.environ)
        self.env.update({
            "DISPLAY": self.display.name,
            "WINEPREFIX": wine_prefix(prefix),
            "WINEDEBUG": "-all",
            "WINEDLLOVERRIDES": "mscoree,mshtml=;winemenubuilder.exe=d",
            "LC_ALL": locale,
        })
        self.processes = []
        self._immutable = []
        subprocess.run([os.path.join(SOURCE_DIR, "scripts", "wine_prefix.sh")], check=True, env=self.env)
        # A case that was killed may have left its Wine session behind, bound to its display.
        subprocess.run(["wineserver", "-k"], env=self.env, stderr=subprocess.DEVNULL, check=False)
        subprocess.run(["wineserver", "-w"], env=self.env, check=False, timeout=60)
        # A Wine session ends with its last program, and the next one boots it again: its services and desktop
        # cost seconds of CPU, and the driver runs between the programs. A windowless program that waits for
        # input that never comes holds the session for the whole case.
        self._holder = subprocess.Popen([WINE, "cmd.exe"], env=self.env, cwd=self.folder, stdin=subprocess.PIPE,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    # -- the installation --------------------------------------------------------------------------
    @property
    def options_path(self):
        return os.path.join(self.install, "Options.ini")

    def write_options(self, text, cities=True, ansi=None, path=None):
        """Writes Options.ini (UTF-16LE, or ANSI in the code page `ansi`); with `cities`, the shipped [CitiesTU]
        section follows, as the installer lays it."""
        if cities:
            shipped = decode_options(open(os.path.join(SOURCE_DIR, "resources", "Options.ini"), "rb").read())
            section = shipped[shipped.index("\r\n[CitiesTU]\r\n") + 2:]
            text = text.rstrip("\n") + "\n" + section.replace("\r\n", "\n")
        with open(path or self.options_path, "wb") as f:
            f.write(encode_options(text, ansi))

    def make_read_only(self, path):
        """Read-only for Wine even when the tests run as root: no write bits, and immutable."""
        subprocess.run(["chmod", "a-w", path], check=True)
        subprocess.run(["chattr", "+i", path], check=True)
        self._immutable.append(path)

    def read_options(self, path=None):
        """Options.ini as {section: {key: value}}, names as written."""
        sections, current = {}, None
        path = path or self.options_path
        if not os.path.exists(path):
            return sections
        with open(path, "rb") as f:
            for raw in decode_options(f.read()).splitlines():
                line = raw.strip()
                if line.startswith("[") and line.endswith("]"):
                    current = sections.setdefault(line[1:-1], {})
                elif "=" in line and current is not None:
                    key, value = line.split("=", 1)
                    current[key.strip()] = value.strip()
        return sections

    # -- programs ----------------------------------------------------------------------------------
    def start(self, *args, exe=None):
        """Starts a Windows program (Nimbo.exe by default) and returns its process."""
        exe = exe or os.path.join(self.install, "Nimbo.exe")
        log = open(os.path.join(self.folder, "wine-%d.log" % len(self.processes)), "wb")
        process = subprocess.Popen([WINE, exe, *args], env=self.env, cwd=self.folder,
                                   stdout=log, stderr=subprocess.STDOUT)
        self.processes.append(process)
        return process

    def run(self, *args, exe=None, timeout=60):
        """Runs a Windows program to its end and returns its exit code."""
        process = self.start(*args, exe=exe)
        try:
            return process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise TestFailure(f"{exe or 'Nimbo.exe'} {' '.join(args)} did not end within {timeout} s")

    def registry(self, *args):
        """Runs Wine's reg.exe in this session's prefix (add, delete, query)."""
        return subprocess.run([WINE, "reg", *args], env=self.env, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL, timeout=120).returncode

    def driver(self, *args, timeout=60):
        """Runs the driver; returns (exit code, {key: value}) from its key=value lines."""
        # Output goes through a file: Wine's helper processes may inherit a pipe and keep it open.
        out_path = os.path.join(self.folder, "driver.out")
        with open(out_path, "wb") as out:
            result = subprocess.run([WINE, os.path.join(WIN64_DIR, "nimbo_driver.exe"), *map(str, args)],
                                    env=self.env, stdout=out, stderr=subprocess.DEVNULL, timeout=timeout)
        with open(out_path, "rb") as out:
            output = out.read().decode("utf-8", "replace")
        facts = {}
        for line in output.splitlines():
            if "=" in line:
                key, value = line.split("=", 1)
                facts.setdefault(key, value) if key != "text" else facts.setdefault("texts", []).append(value)
        return result.returncode, facts

    def window(self, class_name=MAIN_CLASS):
        code, facts = self.driver("info", class_name)
        return facts if code == 0 else None

    def window_count(self, class_name=MAIN_CLASS):
        return int(self.driver("count", class_name)[1]["count"])

    def wait_for_window(self, class_name=MAIN_CLASS, timeout=60, visible=True):
        return wait_until(lambda: (w := self.window(class_name)) and (not visible or w["visible"] == "1") and w,
                          timeout, f"a {'visible ' if visible else ''}{class_name} window")

    def wait_for_dialog(self, title, timeout=60):
        return wait_until(lambda: self.driver("dialog-text", title)[1].get("texts"), timeout,
                          f"a dialog box titled {title!r}")

    def wait_for_exit(self, process, timeout=60):
        try:
            return process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise TestFailure(f"a Wine process did not end within {timeout} s")

    def screenshot(self, name):
        return self.display.screenshot(os.path.join(self.folder, name))

    def close(self):
        for process in self.processes + [self._holder]:
            if process.poll() is None:
                process.send_signal(signal.SIGKILL)
                process.wait()
        # This test's prefix processes (wineserver and its helpers) end with it.
        subprocess.run(["wineserver", "-k"], env=self.env, check=False)
        subprocess.run(["wineserver", "-w"], env=self.env, check=False, timeout=60)
        self.display.close()
        for path in self._immutable:
            subprocess.run(["chattr", "-i", path], check=False)


def run_tests(module_globals, session_class=Session):
    """Runs the test_* functions of the calling module (all, or those named on the command line), each in a
    session of its own."""
    tests = [(name, fn) for name, fn in module_globals.items() if name.startswith("test_") and callable(fn)]
    # ctest names one case (one entry each); NIMBO_E2E_ONLY=part runs only the cases whose names contain it.
    if sys.argv[1:]:
        unknown = set(sys.argv[1:]) - {name for name, _ in tests}
        check(not unknown, f"no such case: {', '.join(sorted(unknown))}")
        tests = [(name, fn) for name, fn in tests if name in sys.argv[1:]]
    tests = [(name, fn) for name, fn in tests if os.environ.get("NIMBO_E2E_ONLY", "") in name]
    passed = failed = 0
    for name, fn in tests:
        session = session_class(name, **({"locale": fn.locale} if hasattr(fn, "locale") else {}))
        try:
            fn(session)
            passed += 1
            print(f"PASS {name}", flush=True)
        except Exception:
            failed += 1
            print(f"FAIL {name}\n{traceback.format_exc()}", flush=True)
        finally:
            session.close()
    print(f"{passed} passed, {failed} failed")
    sys.exit(1 if failed or not tests else 0)
