#!/usr/bin/env python3
"""Runs one command with the loopback server beside it: NIMBO_TEST_SERVER=http://127.0.0.1:PORT and
NIMBO_TEST_SERVER_LOG=<log file> in its environment; ends the server afterwards and returns the command's code.

  with_server.py [--root DIR] [--lifetime S] -- command args...
"""
import argparse
import os
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--root", default=os.path.join(HERE, "..", "data", "server"))
    parser.add_argument("--lifetime", type=float, default=900)
    parser.add_argument("command", nargs=argparse.REMAINDER)
    args = parser.parse_args()
    command = args.command[1:] if args.command[:1] == ["--"] else args.command
    if not command:
        parser.error("no command given")

    with tempfile.TemporaryDirectory(prefix="nimbo-server-") as folder:
        port_file = os.path.join(folder, "port")
        log = os.path.join(folder, "requests.jsonl")
        server = subprocess.Popen([sys.executable, os.path.join(HERE, "loopback_server.py"), "--root", args.root,
                                   "--port-file", port_file, "--log", log, "--lifetime", str(args.lifetime)],
                                  stdout=subprocess.DEVNULL)
        try:
            deadline = time.monotonic() + 30
            while not os.path.exists(port_file):
                if server.poll() is not None or time.monotonic() > deadline:
                    print("with_server: the loopback server did not start", file=sys.stderr)
                    return 1
                time.sleep(0.05)
            with open(port_file) as f:
                port = f.read().strip()
            env = dict(os.environ, NIMBO_TEST_SERVER="http://127.0.0.1:" + port, NIMBO_TEST_SERVER_LOG=log)
            return subprocess.call(command, env=env)
        finally:
            server.terminate()
            try:
                server.wait(timeout=10)
            except subprocess.TimeoutExpired:
                server.kill()
                server.wait()


if __name__ == "__main__":
    sys.exit(main())
