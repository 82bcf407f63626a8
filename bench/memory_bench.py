#!/usr/bin/env python3
"""Resident memory and idle CPU of the widget against an empty layered Win32 window, both in one Wine prefix.

Runs the shipped Nimbo.exe (showing the demo feed from the loopback server) and nimbo_empty_window.exe on an
Xvfb display of their own, waits until both have settled, prints each one's resident size and the difference,
then counts the CPU ticks each uses over an idle minute. Run on purpose, never by CI:

  cmake --build build/win64 --target nimbo_shipped nimbo_empty_window picture_set
  python3 bench/memory_bench.py [--idle-seconds 60]

NIMBO_BENCH_SMAPS=1 also keeps both processes' /proc smaps in build/bench-memory and lists their threads, to see
where the difference lies.
"""
import argparse
import os
import shutil
import subprocess
import sys
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
WIN64 = os.path.join(ROOT, "build", "win64")
FOLDER = os.path.join(ROOT, "build", "bench-memory")
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
sys.path.insert(0, os.path.join(ROOT, "tests", "server"))
from harness import WINE, Display, wait_until  # noqa: E402
from loopback_client import Server  # noqa: E402

TICKS_PER_SECOND = os.sysconf("SC_CLK_TCK")


def process_of(exe_path):
    """The Linux process running the program at `exe_path` (Wine names it first in argv), or None. Other
    Wine programs on the machine (other installations, other users' tests) do not match."""
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open(f"/proc/{pid}/cmdline", "rb") as f:
                arguments = f.read().split(b"\0")
        except OSError:
            continue
        if arguments and os.path.realpath(arguments[0].decode(errors="replace")) == os.path.realpath(exe_path):
            return int(pid)
    return None


def resident_kib(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


def cpu_ticks(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return int(fields[11]) + int(fields[12])  # utime and stime


def settled_resident(pid, seconds=5):
    """The resident size once it has stopped growing for `seconds`."""
    last, since = -1, time.monotonic()
    deadline = time.monotonic() + 120
    while time.monotonic() < deadline:
        now = resident_kib(pid)
        if now != last:
            last, since = now, time.monotonic()
        elif time.monotonic() - since >= seconds:
            break
        time.sleep(0.5)
    return last


def lay_out(server):
    install = os.path.join(FOLDER, "Nimbo")
    shutil.rmtree(FOLDER, ignore_errors=True)
    os.makedirs(install)
    shutil.copy2(os.path.join(WIN64, "shipped", "Nimbo.exe"), install)
    shutil.copytree(os.path.join(WIN64, "Contents"), os.path.join(install, "Contents"))
    shutil.copy2(os.path.join(WIN64, "nimbo_empty_window.exe"), FOLDER)
    options = (f"[Servers]\r\nWeather={server.base}\r\nWeb={server.base}\r\nAddress={server.base}\r\n"
               "[General]\r\nCheckNewVersion=0\r\nFirstUsage=0\r\n")
    with open(os.path.join(install, "Options.ini"), "wb") as f:
        f.write(options.encode("cp1254"))
    return install


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--idle-seconds", type=int, default=60)
    args = parser.parse_args()
    for needed in ("shipped/Nimbo.exe", "nimbo_empty_window.exe", "Contents"):
        if not os.path.exists(os.path.join(WIN64, needed)):
            sys.exit(f"build/win64/{needed} is missing; build nimbo_shipped nimbo_empty_window picture_set first")

    os.makedirs(FOLDER, exist_ok=True)
    server = Server(FOLDER)  # the loopback server with the test documents: the İstanbul feed among them
    display = Display(os.path.join(ROOT, "build", "bench-memory.xvfb.log"))
    env = dict(os.environ, DISPLAY=display.name, WINEPREFIX=os.path.join(ROOT, "build", "wineprefix-bench"),
               WINEDEBUG="-all", LC_ALL="tr_TR.UTF-8", WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d")
    processes = []
    try:
        subprocess.run([os.path.join(ROOT, "scripts", "wine_prefix.sh")], check=True, env=env)
        install = lay_out(server)
        processes.append(subprocess.Popen([WINE, os.path.join(FOLDER, "nimbo_empty_window.exe")], env=env,
                                          cwd=FOLDER, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        processes.append(subprocess.Popen([WINE, os.path.join(install, "Nimbo.exe")], env=env, cwd=install,
                                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        wait_until(lambda: any(entry for entry in server.requests("/forecastrss/TUXX0014_c.xml")), 120,
                   "the widget's feed request")
        time.sleep(5)  # the start-up's short-lived helper processes end; not a synchronisation
        empty = wait_until(lambda: process_of(os.path.join(FOLDER, "nimbo_empty_window.exe")), 120,
                           "the empty window's process")
        widget = wait_until(lambda: process_of(os.path.join(install, "Nimbo.exe")), 120, "the widget's process")
        print(f"processes: empty window {empty}, Nimbo.exe {widget}")

        empty_kib, widget_kib = settled_resident(empty), settled_resident(widget)
        print(f"resident: empty layered window {empty_kib / 1024:.1f} MB, Nimbo.exe {widget_kib / 1024:.1f} MB, "
              f"difference {(widget_kib - empty_kib) / 1024:+.1f} MB")

        before = {pid: cpu_ticks(pid) for pid in (empty, widget)}
        time.sleep(args.idle_seconds)
        used = {pid: cpu_ticks(pid) - before[pid] for pid in (empty, widget)}
        print(f"idle CPU over {args.idle_seconds} s (ticks of 1/{TICKS_PER_SECOND} s): "
              f"empty layered window {used[empty]}, Nimbo.exe {used[widget]}")
        # WinInet keeps a connection (and a thread to collect it) for a while after a download.
        empty_kib, widget_kib = resident_kib(empty), resident_kib(widget)
        if os.environ.get("NIMBO_BENCH_SMAPS"):
            for pid, name in ((empty, "empty"), (widget, "widget")):
                shutil.copy(f"/proc/{pid}/smaps", os.path.join(FOLDER, f"{name}.smaps"))
                threads = [open(f"/proc/{pid}/task/{t}/comm").read().strip() for t in os.listdir(f"/proc/{pid}/task")]
                print(name, "threads:", threads)
        print(f"resident after the idle time: empty layered window {empty_kib / 1024:.1f} MB, "
              f"Nimbo.exe {widget_kib / 1024:.1f} MB, difference {(widget_kib - empty_kib) / 1024:+.1f} MB")
    finally:
        for process in processes:
            process.kill()
        subprocess.run(["wineserver", "-k"], env=env, stderr=subprocess.DEVNULL)
        display.close()
        server.close()


if __name__ == "__main__":
    main()
