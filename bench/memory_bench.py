#!/usr/bin/env python3
"""Resident memory and idle CPU of the widget against an empty layered Win32 window, both in one Wine prefix.

Runs the shipped Nimbo.exe (showing the İstanbul feed from the loopback server), nimbo_empty_window.exe and
nimbo_platform_floor.exe (the empty window plus one use of each platform service the widget is built on) on an
Xvfb display of their own, with the pointer resting away from the windows. Waits until all have settled, prints
their resident sizes and differences, then counts the CPU ticks each uses over an idle minute. Run on purpose,
never by CI:

  cmake --build build/win64 --target nimbo_shipped nimbo_empty_window nimbo_platform_floor picture_set
  python3 bench/memory_bench.py [--idle-seconds 60]

NIMBO_BENCH_SMAPS=1 also keeps the processes' /proc smaps in build/bench-memory and lists their threads, to see
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
PROGRAMS = ("nimbo_empty_window.exe", "nimbo_platform_floor.exe", "Nimbo.exe")
NAMES = {"nimbo_empty_window.exe": "empty layered window", "nimbo_platform_floor.exe": "platform floor",
         "Nimbo.exe": "Nimbo.exe"}


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
    for program in PROGRAMS[:2]:
        shutil.copy2(os.path.join(WIN64, program), FOLDER)
    # Wine starts with the pointer in the middle of the screen; the widget's two windows stand away from it,
    # since nobody points at an idle widget and a pointer over it would make the hints' control.
    options = (f"[Servers]\r\nWeather={server.base}\r\nWeb={server.base}\r\nAddress={server.base}\r\n"
               "[General]\r\nCheckNewVersion=0\r\nFirstUsage=0\r\n"
               "[Appearance]\r\nLeft=40\r\nTop=40\r\nInfoTextLeft=40\r\nInfoTextTop=330\r\n")
    with open(os.path.join(install, "Options.ini"), "wb") as f:
        f.write(options.encode("cp1254"))
    return install


def report(label, kib):
    empty, floor, widget = (kib[name] for name in PROGRAMS)
    print(f"{label}: empty layered window {empty / 1024:.1f} MB, platform floor {floor / 1024:.1f} MB, "
          f"Nimbo.exe {widget / 1024:.1f} MB")
    print(f"  Nimbo.exe over the empty window {(widget - empty) / 1024:+.1f} MB "
          f"(platform floor {(floor - empty) / 1024:+.1f} MB, Nimbo.exe over the floor {(widget - floor) / 1024:+.1f} MB)")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--idle-seconds", type=int, default=60)
    parser.add_argument("--dpi", type=int, default=96, help="the display's DPI (LogPixels) for the programs")
    args = parser.parse_args()
    for needed in ("shipped/Nimbo.exe", "nimbo_empty_window.exe", "nimbo_platform_floor.exe", "Contents"):
        if not os.path.exists(os.path.join(WIN64, needed)):
            sys.exit(f"build/win64/{needed} is missing; build nimbo_shipped nimbo_empty_window nimbo_platform_floor "
                     "picture_set first")

    os.makedirs(FOLDER, exist_ok=True)
    server = Server(FOLDER)  # the loopback server with the test documents: the İstanbul feed among them
    display = Display(os.path.join(ROOT, "build", "bench-memory.xvfb.log"))
    env = dict(os.environ, DISPLAY=display.name, WINEPREFIX=os.path.join(ROOT, "build", "wineprefix-bench"),
               WINEDEBUG="-all", LC_ALL="tr_TR.UTF-8", WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d")
    processes = []
    try:
        subprocess.run([os.path.join(ROOT, "scripts", "wine_prefix.sh")], check=True, env=env)
        for key in ("HKCU\\Control Panel\\Desktop", "HKCC\\Software\\Fonts"):
            subprocess.run([WINE, "reg", "add", key, "/v", "LogPixels", "/t", "REG_DWORD", "/d", str(args.dpi), "/f"],
                           env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True, timeout=120)
        print(f"at {args.dpi} DPI")
        install = lay_out(server)
        feed = server.base + "/forecastrss/TUXX0014_c.xml"
        paths = {"nimbo_empty_window.exe": os.path.join(FOLDER, "nimbo_empty_window.exe"),
                 "nimbo_platform_floor.exe": os.path.join(FOLDER, "nimbo_platform_floor.exe"),
                 "Nimbo.exe": os.path.join(install, "Nimbo.exe")}
        arguments = {"nimbo_platform_floor.exe": [feed]}
        for program in PROGRAMS:
            # From the installation folder, where the pictures lie.
            processes.append(subprocess.Popen([WINE, paths[program]] + arguments.get(program, []), env=env,
                                              cwd=install, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        wait_until(lambda: len(server.requests("/forecastrss/TUXX0014_c.xml")) >= 2, 120, "both feed requests")
        time.sleep(5)  # the start-up's short-lived helper processes end; not a synchronisation
        pids = {program: wait_until(lambda: process_of(paths[program]), 120, f"the process of {program}")
                for program in PROGRAMS}
        print("processes: " + ", ".join(f"{NAMES[program]} {pid}" for program, pid in pids.items()))
        report("resident", {program: settled_resident(pid) for program, pid in pids.items()})

        before = {program: cpu_ticks(pid) for program, pid in pids.items()}
        time.sleep(args.idle_seconds)
        used = {program: cpu_ticks(pid) - before[program] for program, pid in pids.items()}
        print(f"idle CPU over {args.idle_seconds} s (ticks of 1/{TICKS_PER_SECOND} s): "
              + ", ".join(f"{NAMES[program]} {ticks}" for program, ticks in used.items()))
        if os.environ.get("NIMBO_BENCH_SMAPS"):
            for program, pid in pids.items():
                shutil.copy(f"/proc/{pid}/smaps", os.path.join(FOLDER, f"{program}.smaps"))
                threads = [open(f"/proc/{pid}/task/{t}/comm").read().strip() for t in os.listdir(f"/proc/{pid}/task")]
                print(NAMES[program], "threads:", threads)
        report("resident after the idle time", {program: resident_kib(pid) for program, pid in pids.items()})
    finally:
        for process in processes:
            process.kill()
        subprocess.run(["wineserver", "-k"], env=env, stderr=subprocess.DEVNULL)
        display.close()
        server.close()


if __name__ == "__main__":
    main()
