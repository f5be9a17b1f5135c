#!/usr/bin/env python3
"""Fails when a source file includes across the layers of src/ (docs/ARCHITECTURE.md).

Each folder may include only the folders listed for it (its own included). Above the platform, the
platform is reached through platform/ports only; the simulated machine and the Win32 side never
include each other; host-OS headers (windows.h and the other system API headers) appear only in the
code that talks to the host: platform/win32, platform/host, ui/win32, the Windows entry and tools.
Prints one line per violation, "file:line: ...", and exits 1 when there is any.
"""
import pathlib
import re
import sys

# folder -> the folders of ours it may include (prefixes of the include path)
ALLOWED = {
    "base": ["base"],
    "platform/ports": ["platform/ports", "base"],
    "platform/common": ["platform/common", "platform/ports", "base"],
    "platform/host": ["platform/host", "platform/common", "platform/ports", "base"],
    "platform/sim": ["platform/sim", "platform/host", "platform/common", "platform/ports", "base"],
    "platform/win32": ["platform/win32", "platform/host", "platform/common", "platform/ports", "base"],
    "platform/blob": ["platform/blob", "platform/ports", "base"],
    "catalogue": ["catalogue", "platform/ports", "base"],
    # The driver's portable core: no platform, no catalogue.
    "driver": ["driver", "base"],
    # The driver DLLs: the core over the printer driver interfaces of Windows.
    "driver/win32": ["driver", "base"],
    "app": ["app", "catalogue", "platform/ports", "base"],
    "engine": ["engine", "app", "catalogue", "platform/ports", "base"],
    "discovery": ["discovery", "engine", "app", "catalogue", "platform/ports", "base"],
    "cli": ["cli", "discovery", "engine", "app", "catalogue", "platform/ports", "base"],
    # The native toolkit looks up newer entry points through the one lookup of platform/win32.
    "ui/win32": ["ui", "platform/win32/EntryPoints.h", "base"],
    "ui/headless": ["ui", "platform/ports", "base"],
    "ui": ["ui", "base"],
    "wizard": ["wizard", "ui", "discovery", "engine", "app", "catalogue", "platform/ports", "base"],
    "diagnostics": ["diagnostics", "wizard", "ui", "discovery", "engine", "app", "catalogue",
                    "platform/ports", "base"],
    # The composition root picks the implementations.
    "main": ["main", "cli", "diagnostics", "wizard", "ui", "discovery", "engine", "app", "catalogue",
             "platform", "base"],
}

# Folders whose code may include the host's system API headers.
HOST_API = {"platform/win32", "platform/host", "ui/win32", "driver/win32", "main"}
HOST_HEADER = re.compile(
    r"^(windows|winspool|wingdi|winddi|winddiui|compstui|prsht|winsplp|winsock2|ws2tcpip|setupapi|cfgmgr32|newdev|shellapi|shlobj|commctrl|richedit|"
    r"bluetoothapis|bthsdpdef|ws2bth|devguid|initguid|winioctl|usbprint|unistd|fcntl|pthread|spawn|"
    r"sys/[a-z_]+|signal|dlfcn|ifaddrs|netdb|poll|arpa/inet|net/if|netinet/in)\.h$", re.IGNORECASE)

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def layer_of(rel: str):
    best = None
    for folder in ALLOWED:
        if rel == folder or rel.startswith(folder + "/"):
            if best is None or len(folder) > len(best):
                best = folder
    return best


def main() -> int:
    root = pathlib.Path(__file__).resolve().parents[2]
    src = root / "src"
    problems = []
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp", ".hpp", ".inl"):
            continue
        rel = path.relative_to(src).as_posix()
        folder = layer_of(rel.rsplit("/", 1)[0]) if "/" in rel else None
        if folder is None:
            problems.append(f"src/{rel}: in no known layer (add its folder to tools/ci/check_layers.py)")
            continue
        for number, line in enumerate(path.read_text(encoding="utf-8", errors="replace").splitlines(), 1):
            m = INCLUDE.match(line)
            if not m:
                continue
            kind, name = m.groups()
            if kind == '"':
                if not any(name == a or name.startswith(a + "/") for a in ALLOWED[folder]):
                    problems.append(f"src/{rel}:{number}: {folder} may not include \"{name}\"")
            elif HOST_HEADER.match(name) and folder not in HOST_API:
                problems.append(f"src/{rel}:{number}: {folder} may not include the host header <{name}>")
    for p in problems:
        print(p)
    if problems:
        print(f"{len(problems)} include(s) across the layers")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
