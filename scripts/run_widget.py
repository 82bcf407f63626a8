#!/usr/bin/env python3
"""Lays out build/run/Nimbo as an installation and runs the widget there under Wine."""
import os
import shutil
import subprocess
import sys

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
sys.path.insert(0, os.path.join(ROOT, "tests", "service"))
from harness import Display, WINE, decode_options, encode_options, wait_until  # noqa: E402
from service_harness import Service  # noqa: E402

WIN64 = os.path.join(ROOT, "build", "win64")
INSTALL = os.path.join(ROOT, "build", "run", "Nimbo")
SCREENSHOT = os.path.join(ROOT, "build", "screenshot.png")
SHIPPED_OPTIONS = os.path.join(ROOT, "resources", "Options.ini")
PLACES = os.path.join(ROOT, "build", "places", "package", "cities.pbf")
RECORDED = os.path.join(ROOT, "service", "recorded")


def lay_out_installation():
    os.makedirs(INSTALL, exist_ok=True)
    shutil.copy2(os.path.join(WIN64, "shipped", "Nimbo.exe"), INSTALL)  # optimised and stripped, as installed
    shutil.copytree(os.path.join(WIN64, "Contents"), os.path.join(INSTALL, "Contents"), dirs_exist_ok=True)


def point_at_server(base):
    """Options.ini's [Servers] section names the loopback server and [CitiesTU] is the shipped one; everything
    else in the file stays."""
    path = os.path.join(INSTALL, "Options.ini")
    lines = decode_options(open(path, "rb").read()).splitlines() if os.path.exists(path) else []
    kept, replaced = [], False
    for line in lines:
        if line.strip().startswith("["):
            replaced = line.strip().lower() in ("[servers]", "[citiestu]")
        if not replaced:
            kept.append(line)
    shipped = decode_options(open(SHIPPED_OPTIONS, "rb").read()).splitlines()
    kept += shipped[shipped.index("[CitiesTU]"):]
    kept += ["[Servers]"] + [f"{key}={base}" for key in ("Weather", "Search", "Web", "Address")]
    with open(path, "wb") as f:
        f.write(encode_options("\r\n".join(kept) + "\r\n"))


def wine_env(display):
    env = dict(os.environ)
    env.update({"DISPLAY": display, "WINEDEBUG": "-all", "LC_ALL": "tr_TR.UTF-8",
                "WINEDLLOVERRIDES": "mscoree,mshtml=;winemenubuilder.exe=d"})
    return env


def has_display():
    display = os.environ.get("DISPLAY")
    return bool(display) and subprocess.run(["xdpyinfo"], stdout=subprocess.DEVNULL,
                                            stderr=subprocess.DEVNULL).returncode == 0


def driver(env, *args):
    out_path = os.path.join(ROOT, "build", "run", "driver.out")
    with open(out_path, "wb") as out:
        code = subprocess.run([WINE, os.path.join(WIN64, "nimbo_driver.exe"), *map(str, args)], env=env,
                              stdout=out, stderr=subprocess.DEVNULL, timeout=120).returncode
    facts = dict(line.split("=", 1) for line in open(out_path, encoding="utf-8", errors="replace").read().splitlines()
                 if "=" in line)
    return code, facts


def run_on_screen():
    env = wine_env(os.environ["DISPLAY"])
    print(f"Nimbo runs on {env['DISPLAY']}; close it from its menu or start build/run/Nimbo/Nimbo.exe /exit")
    subprocess.run([WINE, os.path.join(INSTALL, "Nimbo.exe")], env=env, cwd=INSTALL)


def run_headless():
    display = Display(os.path.join(ROOT, "build", "run", "xvfb.log"))
    env = wine_env(display.name)
    log = open(os.path.join(ROOT, "build", "run", "wine.log"), "wb")
    widget = subprocess.Popen([WINE, os.path.join(INSTALL, "Nimbo.exe")], env=env, cwd=INSTALL,
                              stdout=log, stderr=subprocess.STDOUT)
    try:
        display.set_background("#5b7fa6")
        window = wait_until(lambda: (r := driver(env, "info", "TNimboMainForm"))[0] == 0
                            and r[1]["visible"] == "1" and r[1], 120, "the widget's window")
        left, top = int(window["left"]), int(window["top"])
        width, height = int(window["width"]), int(window["height"])
        centre = f"1x1+{left + width // 2}+{top + height // 2}"

        def shown():
            display.screenshot(SCREENSHOT)
            colour = subprocess.run(["convert", SCREENSHOT, "-crop", centre, "-format", "%[hex:p{0,0}]", "info:"],
                                    capture_output=True, text=True).stdout.strip()
            return not colour.upper().startswith("5B7FA6")

        wait_until(shown, 60, "the widget to fade in")
        print(f"The widget is running on Xvfb {display.name}; screenshot saved to {SCREENSHOT}")
    finally:
        subprocess.run([WINE, os.path.join(INSTALL, "Nimbo.exe"), "/exit"], env=env, timeout=120)
        try:
            widget.wait(timeout=60)
        except subprocess.TimeoutExpired:
            widget.kill()
        subprocess.run(["wineserver", "-k"], env=env)
        display.close()


def has_internet_route():
    """A default route in the kernel's tables; looked up locally, nothing is sent."""
    with open("/proc/net/route") as routes:
        if any(line.split()[1] == "00000000" for line in routes.readlines()[1:] if len(line.split()) > 1):
            return True
    try:
        with open("/proc/net/ipv6_route") as routes:
            return any(line.split()[0] == "0" * 32 and line.split()[1] == "00" and line.split()[9] != "lo"
                       for line in routes if len(line.split()) >= 10)
    except OSError:
        return False


def start_service(run_folder):
    """nimbo-service on a free loopback port. It answers from the forecasts recorded in the repository unless
    NIMBO_LIVE=1 asks for live weather and the machine has a route out: whether the internet is really there
    cannot be known without sending something, and make run sends nothing off the machine unasked."""
    args = ["--places", PLACES]
    if os.environ.get("NIMBO_LIVE") == "1" and has_internet_route():
        print("Live weather from Open-Meteo (NIMBO_LIVE=1)")
    else:
        reason = "no route to the internet" if os.environ.get("NIMBO_LIVE") == "1" else "NIMBO_LIVE=1 not set"
        print(f"Recorded weather, not live ({reason}): the service answers from {RECORDED}")
        args += ["--recorded", RECORDED]
    server = Service(*args, log_path=os.path.join(run_folder, "service.log"))
    print(f"nimbo-service answers on {server.base} (log: {server.log_path})")
    return server


def main():
    lay_out_installation()
    run_folder = os.path.join(ROOT, "build", "run")
    server = start_service(run_folder)
    try:
        point_at_server(server.base)
        if has_display():
            run_on_screen()
        else:
            run_headless()
    finally:
        server.close()


if __name__ == "__main__":
    main()
