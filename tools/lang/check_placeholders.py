#!/usr/bin/env python3
"""Checks the message tables Lang/<language>/StringResource.lng of the skin.

Every table must hold exactly the identifiers of the ChineseSimplified table, in
the same order, and every translation must keep the printf conversions of its
identifier in the same order: the code formats the translated text with the
arguments meant for the identifier, so a lost or swapped %s/%d is a crash or
garbage at run time, not a cosmetic fault.

Usage: check_placeholders.py [LANG_DIR]   (default: resources/skin/Lang of this tree)
Prints one summary line; exits 1 on any mismatch.
"""
import os
import re
import sys
import xml.etree.ElementTree as ET

LANGUAGES = (
    "Arabic", "Bulgarian", "ChineseSimplified", "ChineseTraditional", "Czech", "Danish", "Dutch",
    "English", "Estonian", "Finnish", "French", "German", "Greek", "Hungarian", "Italian", "Japanese",
    "Korean", "Polish", "Portuguese", "Romanian", "Russian", "Slovenian", "Spanish", "Swedish", "Thai",
    "Vietnamese",
)
REFERENCE = "ChineseSimplified"
TABLE = "StringResource.lng"

# flags, width, precision, length modifiers (C and MSVC), conversion; or a literal %%
PLACEHOLDER = re.compile(
    r"%(?:%|[-+ #0]*(?:\*|\d+)?(?:\.(?:\*|\d+))?(?:hh|h|ll|l|L|z|j|t|I64|I32|I|w)?[diouxXeEfFgGaAcCsSpnZ])"
)


def placeholders(text):
    return PLACEHOLDER.findall(text)


def load(path):
    """Returns the (id, text) pairs of one table, or raises ValueError."""
    try:
        root = ET.parse(path).getroot()
    except (OSError, ET.ParseError) as e:
        raise ValueError(str(e))
    if root.tag != "Language":
        raise ValueError(f"root element is <{root.tag}>, expected <Language>")
    entries = []
    for n, el in enumerate(root, 1):
        if el.tag != "String":
            raise ValueError(f"child {n} is <{el.tag}>, expected <String>")
        if "id" not in el.attrib or "text" not in el.attrib:
            raise ValueError(f"<String> {n} lacks id or text")
        entries.append((el.attrib["id"], el.attrib["text"]))
    return entries


def check(lang_dir):
    errors = []
    tables = {}
    for name in LANGUAGES:
        path = os.path.join(lang_dir, name, TABLE)
        try:
            tables[name] = load(path)
        except ValueError as e:
            errors.append(f"{name}: {e}")

    ref = tables.get(REFERENCE)
    if ref is None:
        return errors, 0, 0
    ref_ids = [i for i, _ in ref]
    seen = set()
    for i, t in ref:
        if i in seen:
            errors.append(f"{REFERENCE}: duplicate id {i!r}")
        seen.add(i)
        if t != i:
            errors.append(f"{REFERENCE}: id {i!r} maps to {t!r}, expected itself")

    for name, entries in tables.items():
        ids = [i for i, _ in entries]
        if ids != ref_ids:
            missing = [i for i in ref_ids if i not in ids]
            extra = [i for i in ids if i not in seen]
            if missing or extra:
                errors.append(f"{name}: missing {missing!r}, unknown {extra!r}")
            else:
                first = next(n for n, (a, b) in enumerate(zip(ids, ref_ids)) if a != b)
                errors.append(f"{name}: ids out of order or repeated from entry {first + 1} ({ids[first]!r})")
        for i, t in entries:
            want, got = placeholders(i), placeholders(t)
            if want != got:
                errors.append(f"{name}: {i!r}: placeholders {got} in {t!r}, expected {want}")
    return errors, len(tables), len(ref_ids)


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    lang_dir = argv[1] if len(argv) > 1 else os.path.join(here, "..", "..", "resources", "skin", "Lang")
    errors, n_tables, n_ids = check(lang_dir)
    for e in errors:
        print(e, file=sys.stderr)
    if errors:
        print(f"FAIL: {len(errors)} problem(s) in {len(LANGUAGES)} message tables")
        return 1
    print(f"OK: {n_tables} message tables, {n_ids} ids each, placeholders match")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
