#!/usr/bin/env python3
"""Packs the skin folder into the ZIP archive the program embeds (deflate, stable order and times,
so that the same inputs always give the same bytes). Entry names are relative paths with "/"
("Lang/English/StringResource.lng").

Besides the skin folder, the archive takes what the build makes (the driver package under
"Drivers/"):
  --dir PREFIX=FOLDER   every file below FOLDER, as PREFIX/<relative path>
  --list FILE           one entry a line, fields separated by tabs:
                          file<TAB>ENTRY<TAB>PATH          the file PATH as ENTRY
                          placeholder<TAB>ENTRY<TAB>WHO    a short text saying that WHO makes ENTRY
                                                           and that this build did not have it
An entry given twice is an error."""
import argparse
import os
import sys
import zipfile


def folder_entries(prefix: str, src: str):
    out = []
    for folder, dirs, names in os.walk(src):
        dirs.sort()
        for name in sorted(names):
            path = os.path.join(folder, name)
            rel = os.path.relpath(path, src).replace(os.sep, "/")
            out.append((f"{prefix}/{rel}" if prefix else rel, path, None))
    return out


def list_entries(list_file: str):
    out = []
    with open(list_file, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\r\n")
            if not line:
                continue
            fields = line.split("\t")
            if len(fields) != 3 or fields[0] not in ("file", "placeholder"):
                raise ValueError(f"{list_file}:{number}: not 'file|placeholder<TAB>entry<TAB>value'")
            kind, entry, value = fields
            if kind == "file":
                out.append((entry, value, None))
            else:
                text = (f"PLACEHOLDER, not a working file: {entry} is made by {value}, which this "
                        "build did not have when it packed the archive.\r\n")
                out.append((entry, None, text.encode("utf-8")))
    return out


def main() -> int:
    parser = argparse.ArgumentParser(description="Packs the skin archive.")
    parser.add_argument("skin")
    parser.add_argument("output")
    parser.add_argument("--dir", action="append", default=[], metavar="PREFIX=FOLDER")
    parser.add_argument("--list", action="append", default=[], metavar="FILE")
    args = parser.parse_args()

    entries = folder_entries("", args.skin)
    try:
        for spec in args.dir:
            prefix, sep, folder = spec.partition("=")
            if not sep or not os.path.isdir(folder):
                raise ValueError(f"--dir {spec}: not PREFIX=FOLDER with an existing folder")
            entries += folder_entries(prefix.strip("/"), folder)
        for list_file in args.list:
            entries += list_entries(list_file)
    except (OSError, ValueError) as e:
        print(f"pack_skin.py: {e}", file=sys.stderr)
        return 1
    seen = set()
    for entry, _, _ in entries:
        if entry in seen:
            print(f"pack_skin.py: entry {entry} given twice", file=sys.stderr)
            return 1
        seen.add(entry)
    entries.sort(key=lambda e: e[0])

    tmp = args.output + ".tmp"
    try:
        with zipfile.ZipFile(tmp, "w", compression=zipfile.ZIP_DEFLATED, compresslevel=9) as z:
            for entry, path, data in entries:
                info = zipfile.ZipInfo(entry, date_time=(1980, 1, 1, 0, 0, 0))
                info.compress_type = zipfile.ZIP_DEFLATED
                info.external_attr = 0o644 << 16
                if data is None:
                    with open(path, "rb") as f:
                        data = f.read()
                z.writestr(info, data)
    except OSError as e:
        print(f"pack_skin.py: {e}", file=sys.stderr)
        return 1
    os.replace(tmp, args.output)
    return 0


if __name__ == "__main__":
    sys.exit(main())
