#!/usr/bin/env python3
"""Checks Windows XP programs statically: 32-bit PE, GUI subsystem, OS and subsystem version 5.1,
and no import of a function or DLL that Windows XP lacks. Prints one line per check.

--on-demand names DLLs that Nimbo.exe must not import: it loads them when a feature first needs them, and an
import would put them (several MB under Wine) into every idle widget."""
import argparse
import os
import re
import subprocess
import sys


def read_headers_and_imports(objdump, exe):
    text = subprocess.run([objdump, "-p", exe], check=True, capture_output=True, text=True).stdout
    fields = {}
    for key in ("Magic", "MajorOSystemVersion", "MinorOSystemVersion", "MajorSubsystemVersion",
                "MinorSubsystemVersion", "Subsystem"):
        match = re.search(r"^" + key + r"\s+(\S+)", text, re.MULTILINE)
        fields[key] = match.group(1) if match else None
    imports = {}
    dll = None
    for line in text.splitlines():
        name = re.match(r"\s*DLL Name: (\S+)", line)
        if name:
            dll = name.group(1).lower()
            imports.setdefault(dll, set())
            continue
        entry = re.match(r"\s+[0-9a-f]+\s+(\d+)\s+(\S+)\s*$", line)
        if dll and entry:
            imports[dll].add(entry.group(2))
        if not line.strip():
            dll = dll if dll and imports.get(dll) == set() else None
    return fields, imports


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--objdump", default="i686-w64-mingw32-objdump")
    parser.add_argument("--post-xp-list", required=True)
    parser.add_argument("--on-demand", default="", help="comma-separated DLLs Nimbo.exe loads only when needed")
    parser.add_argument("programs", nargs="+")
    args = parser.parse_args()

    forbidden_functions, forbidden_dlls = set(), set()
    for line in open(args.post_xp_list, encoding="utf-8"):
        line = line.strip()
        if not line or line.startswith("#"):
            continue
        if line.startswith("dll:"):
            forbidden_dlls.add(line[4:].lower())
        else:
            forbidden_functions.add(line)

    on_demand = {name.lower() for name in args.on_demand.split(",") if name}
    failures = 0
    checks = 0
    for exe in args.programs:
        fields, imports = read_headers_and_imports(args.objdump, exe)
        expected = {"Magic": "010b", "MajorOSystemVersion": "5", "MinorOSystemVersion": "1",
                    "MajorSubsystemVersion": "5", "MinorSubsystemVersion": "1", "Subsystem": "00000002"}
        for key, value in expected.items():
            checks += 1
            ok = fields[key] == value
            failures += not ok
            print(f"{'ok' if ok else 'FAIL'}: {exe} {key} is {fields[key]} (want {value})")
        checks += 1
        if not imports:
            failures += 1
            print(f"FAIL: {exe} has no import table that could be read")
        bad = sorted(f"{dll}!{fn}" for dll, fns in imports.items() for fn in fns if fn in forbidden_functions)
        bad += sorted(dll for dll in imports if dll in forbidden_dlls)
        if bad:
            failures += 1
            print(f"FAIL: {exe} imports what Windows XP lacks: {', '.join(bad)}")
        else:
            count = sum(len(f) for f in imports.values())
            print(f"ok: {exe} imports {count} functions from {len(imports)} DLLs, none newer than Windows XP")
        if on_demand and os.path.basename(exe).lower() == "nimbo.exe":
            checks += 1
            imported = sorted(on_demand & set(imports))
            failures += bool(imported)
            print(f"FAIL: {exe} imports {', '.join(imported)}, which it should load when needed" if imported
                  else f"ok: {exe} imports none of {', '.join(sorted(on_demand))}")
    print(f"{checks - failures} passed, {failures} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
