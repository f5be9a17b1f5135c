#!/usr/bin/env python3
"""Fails when a DLL imports a function that is not on a list, read from its import table with
objdump -p. The driver's i386 DLLs use it to stay loadable on Windows XP: the list holds only
functions that Windows XP's system DLLs export, so an import that only a later Windows has (as
GetTickCount64 of Vista, once pulled in by a thread runtime) stops the build.

usage: check_imports.py --objdump OBJDUMP --allowed LIST DLL...
LIST: one "DLLNAME Function" a line (names compared without regard to case), "#" starts a comment."""
import argparse
import re
import subprocess
import sys


def imports(objdump: str, dll: str):
    text = subprocess.run([objdump, "-p", dll], check=True, capture_output=True, text=True).stdout
    out = set()
    current = None
    for line in text.splitlines():
        name = re.match(r"\s*DLL Name:\s*(\S+)", line)
        if name:
            current = name.group(1).upper()
            continue
        if not line.strip():
            continue
        # "\t522ac\t  136  CloseHandle": address, hint, name; ordinal imports have no name.
        member = re.match(r"\t[0-9a-f]+\t\s*(\d+)\s+(\S+)", line)
        if current and member:
            out.add((current, member.group(2)))
        elif line.startswith(" ") or "Export" in line:
            current = None
    return out


def main() -> int:
    parser = argparse.ArgumentParser()
    parser.add_argument("--objdump", required=True)
    parser.add_argument("--allowed", required=True)
    parser.add_argument("dlls", nargs="+")
    args = parser.parse_args()
    allowed = set()
    with open(args.allowed, encoding="utf-8") as f:
        for line in f:
            fields = line.split("#", 1)[0].split()
            if len(fields) == 2:
                allowed.add((fields[0].upper(), fields[1]))
    failed = False
    for dll in args.dlls:
        found = imports(args.objdump, dll)
        if not found:
            print(f"{dll}: no imports read (not a PE file, or objdump's output changed)", file=sys.stderr)
            failed = True
        for module, function in sorted(found - allowed):
            print(f"{dll}: imports {module} {function}, which is not on {args.allowed}", file=sys.stderr)
            failed = True
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
