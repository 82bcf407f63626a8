#!/usr/bin/env python3
"""Checks what a Setup.exe packs, without running it (the x86 one cannot run here): its stage folder holds exactly
the installed file set, Options.ini has its sections, the programs are stripped, and Setup.exe has the
architecture of its programs. Prints one line per check."""
import os
import re
import subprocess
import sys

from installed_set import installed_files


def pe_magic(path):
    with open(path, "rb") as f:
        data = f.read(4096)
    offset = int.from_bytes(data[0x3C:0x40], "little")
    return int.from_bytes(data[offset + 24:offset + 26], "little")


def main():
    build_dir, objdump = sys.argv[1], sys.argv[2]
    stage = os.path.join(build_dir, "setup", "stage")
    results = []
    found = {"\\" + os.path.relpath(os.path.join(folder, name), stage).replace("/", "\\")
             for folder, _, names in os.walk(stage) for name in names}
    expected = set(installed_files())
    results.append((found == expected, f"the stage holds the {len(expected)} installed files "
                                        f"(extra {sorted(found - expected)}, missing {sorted(expected - found)})"))
    with open(os.path.join(stage, "Options.ini"), "rb") as f:
        options = f.read()
    # The profile functions keep a file Unicode only when it starts with the byte-order mark.
    unicode = options.startswith(b"\xff\xfe")
    text = options[2:].decode("utf-16-le") if unicode else ""
    results.append((unicode and "[Servers]" in text and "[CitiesTU]" in text,
                    "Options.ini is UTF-16LE with a byte-order mark and has [Servers] and [CitiesTU]"))
    for program in ("Nimbo.exe", "Uninstall.exe"):
        headers = subprocess.run([objdump, "-h", os.path.join(stage, program)], check=True, capture_output=True,
                                 text=True).stdout
        results.append((not re.search(r"\.debug_", headers), f"{program} is stripped"))
    magic = pe_magic(os.path.join(stage, "Nimbo.exe"))
    results.append((pe_magic(os.path.join(build_dir, "Setup.exe")) == magic,
                    f"Setup.exe has its programs' architecture (PE magic {magic:#x})"))
    for ok, what in results:
        print(f"{'ok' if ok else 'FAIL'}: {what}")
    sys.exit(0 if all(ok for ok, _ in results) else 1)


if __name__ == "__main__":
    main()
