#!/usr/bin/env python3
"""Packs the skin folder into the ZIP archive the program embeds (deflate, stable order and times,
so that the same tree always gives the same bytes). Entry names use backslashes-free relative paths
("Lang/English/StringResource.lng")."""
import os
import sys
import zipfile


def main() -> int:
    if len(sys.argv) != 3:
        print("usage: pack_skin.py <skin folder> <output.zip>", file=sys.stderr)
        return 2
    src, out = sys.argv[1], sys.argv[2]
    files = []
    for folder, dirs, names in os.walk(src):
        dirs.sort()
        for name in sorted(names):
            path = os.path.join(folder, name)
            files.append((os.path.relpath(path, src).replace(os.sep, "/"), path))
    tmp = out + ".tmp"
    with zipfile.ZipFile(tmp, "w", compression=zipfile.ZIP_DEFLATED, compresslevel=9) as z:
        for arc, path in files:
            info = zipfile.ZipInfo(arc, date_time=(1980, 1, 1, 0, 0, 0))
            info.compress_type = zipfile.ZIP_DEFLATED
            info.external_attr = 0o644 << 16
            with open(path, "rb") as f:
                z.writestr(info, f.read())
    os.replace(tmp, out)
    return 0


if __name__ == "__main__":
    sys.exit(main())
