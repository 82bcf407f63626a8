"""End-to-end harness: the real Windows programs under Wine on an Xvfb display of their own.

Each test case gets its own installation folder, its own X display and its own Wine processes, and ends
them itself. Waits are for conditions with deadlines, never fixed sleeps.
"""
import fcntl
import os
import shutil
import signal
import subprocess
import sys
import time
import traceback

SOURCE_DIR = os.environ.get("NIMBO_SOURCE_DIR", os.path.abspath(os.path.join(os.path.dirname(__file__), "../..")))
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


def wait_until(predicate, timeout, what):
    """Polls `predicate` until it returns a true value or `timeout` seconds pass."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise TestFailure(f"timed out after {timeout} s waiting for {what}")
        time.sleep(0.1)


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
            "WINEPREFIX": os.path.join(SOURCE_DIR, "build", prefix),
            "WINEDEBUG": "-all",
            "WINEDLLOVERRIDES": "mscoree,mshtml=;winemenubuilder.exe=d",
            "LC_ALL": locale,
        })
        self.processes = []
        self._immutable = []
        subprocess.run([os.path.join(SOURCE_DIR, "scripts", "wine_prefix.sh")], check=True, env=self.env)

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
        for process in self.processes:
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
    """Runs every test_* function of the calling module, each in a session of its own."""
    tests = [(name, fn) for name, fn in module_globals.items() if name.startswith("test_") and callable(fn)]
    # NIMBO_E2E_ONLY=part runs only the cases whose names contain it (while working on them).
    tests = [(name, fn) for name, fn in tests if os.environ.get("NIMBO_E2E_ONLY", "") in name]
    # One end-to-end run at a time shares the prefix: whoever else runs waits here.
    os.makedirs(os.path.join(SOURCE_DIR, "build"), exist_ok=True)
    lock = open(os.path.join(SOURCE_DIR, "build", "e2e.lock"), "w")
    fcntl.flock(lock, fcntl.LOCK_EX)
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
