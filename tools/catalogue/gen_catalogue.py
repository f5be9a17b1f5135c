#!/usr/bin/env python3
"""Generates the embedded driver catalogue and manufacturer records.

    gen_catalogue.py           write resources/catalogue.xml and resources/manufacturers.xml, then verify
    gen_catalogue.py --check   verify the committed files and that they match what this script produces

The output is deterministic: one seeded random generator drives every choice, so the committed XML
only changes when this script does. The wizard embeds the XML, not this script.
"""

import argparse
import random
import re
import sys
import xml.etree.ElementTree as ET
import zlib
from pathlib import Path

SEED = 3022465
ROOT = Path(__file__).resolve().parents[2]
CATALOGUE = ROOT / "resources" / "catalogue.xml"
MANUFACTURERS = ROOT / "resources" / "manufacturers.xml"
DECLARATION = '<?xml version="1.0"?>\n'

NATIVE = "Native"
OWN_MODE = "CorvaneEx"
TOVANA = "Tovana"
# Printers of this family all report one of these IDs; the wizard tells the models apart by name.
TOVANA_IDS = ["USBPRINT\\Tovana_A6B36A", "USBPRINT\\Tovana_A877EB", "USBPRINT\\Tovana_A773AB"]

HEADER = {
    "model": OWN_MODE,
    "product": "标签打印机",
    "product_en": "Thermal Label Printer",
    "company": "柯尔凡智能标识有限公司",
    "company_en": "Corvane Smart Labeling Co., Ltd.",
    "website": "https://www.corvane.example",
    "tel": "",
    "email": "support@corvane.example",
    "version0": "3",
    "version1": "0",
    "version2": "2",
    "version3": "465",
}
LOGO_FILE = "logo_corvane.png"
REMARK = "标签打印机驱动安装程序"

# The further product lines and brand editions, with their model counts.
OTHER_MODES = [
    ("Aldreth", 72), ("Brisvale", 58), ("Caskeline", 50), ("Delmora", 44), ("Eskarn", 40),
    ("Fennoway", 36), ("Galvoric", 33), ("Hestrel", 30), ("Ilvanne", 28), ("Kestova", 26),
    ("Lumbrae", 24), ("Marrowind", 22), ("Nelquist", 20), ("Orlune", 18), ("Pellanor", 16),
    ("Quessary", 15), ("Rovantis", 14), ("Selkirra", 12), ("Thornlet", 11), ("Umbrevi", 10),
    ("Valdrasse", 9), ("Wrenhollow", 8), ("Yarrowmek", 6), ("Zephlin", 13),
]
MODE_PAPERLIST = {OWN_MODE: "labelex", "Kestova": "labelex"}
MODE_NO_DOTTEDLINE = [OWN_MODE, TOVANA, "Hestrel", "Orlune"]
# Modes whose one stand-alone model carries its whole attribute set instead of naming a parent.
STANDALONE_MODES = ["Selkirra", "Umbrevi", "Wrenhollow", "Zephlin"]

TOVANA_MODELS = [
    # name, head size of its base, hardware ID index, stand-alone
    ("TV-B58", 48, 0, True), ("TV-B58S", 48, 0, False), ("TV-B58Pro", 48, 0, False),
    ("TV-B80", 72, 0, False), ("TV-B80S", 72, 0, False), ("TV-B80Pro", 72, 0, False),
    ("TV-M58", 48, 1, False), ("TV-M58W", 48, 1, False), ("TV-M80", 72, 1, True),
    ("TV-M80W", 72, 1, False), ("TV-M110", 104, 1, False), ("TV-Q40", 48, 1, False),
    ("TV-Q40Mini", 48, 1, False), ("TV-Q50", 48, 1, False), ("TV-Q50Plus", 48, 1, False),
    ("TV-P110", 104, 2, True), ("TV-P110W", 104, 2, False), ("TV-P110Pro", 104, 2, False),
    ("TV-D30", 48, 2, False), ("TV-D30C", 48, 2, False),
]

PAPER_GROUPS = [
    ("label", 40, "标准标签纸"), ("labelex", 72, "扩展标签纸"),
    (TOVANA, 25, None), ("Aldreth", 22, None), ("Brisvale", 20, None), ("Caskeline", 18, None),
    ("Delmora", 18, None), ("Eskarn", 17, None), ("Fennoway", 16, None), ("Galvoric", 16, None),
    ("Hestrel", 15, None), ("Ilvanne", 14, None), ("Lumbrae", 13, None), ("Marrowind", 13, None),
]
PAPER_WIDTHS = [20, 25, 30, 32, 35, 38, 40, 45, 50, 57, 58, 60, 62, 70, 75, 76, 80, 90, 100, 101.6,
                102, 104, 108]
PAPER_HEIGHTS = [10, 12, 15, 20, 25, 30, 35, 40, 50, 60, 70, 75, 80, 90, 100, 110, 120, 130, 150,
                 152.4, 180, 200]
PAPER_NAME_COUNT = 179
MUST_HAVE_PAPERS = [(76, 130), (100, 180), (101.6, 152.4), (80, 100), (100, 150), (50, 30), (40, 30),
                    (60, 40), (70, 50), (58, 40), (104, 150)]

SERIES_OWN = ["KV", "QJ", "VR", "JN", "WY"]
SERIES_OTHER = ["OJ", "YH", "KZ", "UX"]
TRAILERS = ["", "", "", "-B", "-W", "-E", "-S"]

COMMENTS_BY_INCH = {
    "2": ["2 英寸便携式标签打印机", "2-inch mobile label printer"],
    "3": ["3 英寸热敏标签打印机", "3-inch desktop label printer"],
    "4": ["4 英寸热转印标签打印机", "4-inch desktop label printer", "工业级条码标签打印机"],
}

# Real makers of label printers; none of them may appear anywhere in the generated files.
FORBIDDEN_WORDS = [
    "zebra", "brother", "dymo", "tsc", "godex", "honeywell", "intermec", "datamax", "sato", "citizen",
    "epson", "argox", "xprinter", "gprinter", "rongta", "hprt", "niimbot", "phomemo", "munbyn", "rollo",
    "bixolon", "toshiba", "printronix", "postek", "idprt", "wincode", "canon", "seiko", "cognitive",
    "tharo", "primera", "avery", "dascom", "sewoo", "woosim", "cab",
]


def num_text(value):
    """Millimetre values as the catalogue writes them: integers without a fraction."""
    return str(int(value)) if float(value).is_integer() else str(value)


def paper_name(w, h):
    return f"{num_text(w)}mm x {num_text(h)}mm"


def hardware_id(vendor, model):
    # Windows builds USBPRINT IDs from the maker and model strings plus a four-digit checksum.
    ident = re.sub(r"[^A-Za-z0-9_-]", "_", f"{vendor}{model}")
    crc = zlib.crc32(f"{vendor}|{model}".encode()) & 0xFFFF
    return f"USBPRINT\\{ident}{crc:04X}"


def inch_of(head):
    return {48: "2", 56: "2", 72: "3", 104: "4", 108: "4"}[head]


# ---------------------------------------------------------------- papers


def build_papers(rng):
    combos = [(w, h) for w in PAPER_WIDTHS for h in PAPER_HEIGHTS if (w, h) not in MUST_HAVE_PAPERS]
    rng.shuffle(combos)
    pool = MUST_HAVE_PAPERS + combos[: PAPER_NAME_COUNT - len(MUST_HAVE_PAPERS)]
    rng.shuffle(pool)
    total = sum(size for _, size, _ in PAPER_GROUPS)
    # Deal every pool paper to one group first, so each name is used, then top groups up with repeats.
    shares = [max(1, size * PAPER_NAME_COUNT // total) for _, size, _ in PAPER_GROUPS]
    shares[0] += PAPER_NAME_COUNT - sum(shares)
    groups = []
    start = 0
    for (ptype, size, comment), share in zip(PAPER_GROUPS, shares):
        assert share <= size, (ptype, share, size)
        chosen = pool[start: start + share]
        start += share
        rest = [p for p in pool if p not in chosen]
        chosen += rng.sample(rest, size - len(chosen))
        chosen.sort()
        groups.append({"type": ptype, "comment": comment, "papers": chosen})
    return groups


def paper_elements(groups, rng):
    res_values = sorted([701, 741] + rng.sample(range(702, 741), 35))
    out = []
    for g in groups:
        papers = []
        for i, (w, h) in enumerate(g["papers"]):
            sep = ",  " if (g["type"] != "label" and i % 6 == 5) else ","
            attrs = {"name": paper_name(w, h), "size": f"{num_text(w)}{sep}{num_text(h)}"}
            if g["type"] == "label" and i < len(res_values):
                attrs["res"] = str(res_values[i])
            if g["type"] == "labelex" and (w, h) == (76, 130):
                attrs["margin"] = "1,2,1,2"
            papers.append(attrs)
        out.append((g, papers))
    return out


def pick_default_paper(group, head, maxwidth, rng):
    papers = group["papers"]
    fits = [p for p in papers if head * 0.5 <= p[0] <= maxwidth] or [p for p in papers if p[0] <= maxwidth]
    if not fits:
        return None
    # Very short or very long labels make poor defaults.
    fits = [p for p in fits if 25 <= p[1] <= 152.4] or fits
    best = min(abs(p[0] - head) for p in fits)
    return rng.choice([p for p in fits if abs(p[0] - head) == best])


# ---------------------------------------------------------------- Native base models


def native_specs(rng):
    specs = []
    for dpi in (203, 300, 600):
        for head in (56, 72, 104, 108):
            for ht in ("DT", "DT,TT"):
                for acc in ("", "cutter", "cutter\\peeler"):
                    if dpi == 600 and (head < 104 or ht == "DT"):
                        continue
                    specs.append(("tspl", dpi, head, ht, acc))
    specs = rng.sample(specs, 40)
    specs += [("cpcl", 203, h, "DT", "") for h in (48, 72, 104)]
    specs += [("escpos", 203, h, "DT", acc) for h in (48, 72) for acc in ("", "cutter")]
    specs += [("cvlabel", d, h, ht, "") for d in (203, 300) for h in (56, 104) for ht in ("DT", "DT,TT")]
    specs += [("tvraster", 203, h, "DT", acc) for h, acc in
              ((48, ""), (72, ""), (104, ""), (72, "cutter"), (104, "cutter"))]
    order = ["tspl", "cpcl", "escpos", "cvlabel", "tvraster"]
    specs.sort(key=lambda s: (order.index(s[0]), s[1], s[2], s[3], s[4]))
    return specs


def native_name(cmd, dpi, head, ht, acc):
    extra = {"": "", "cutter": " Cutter", "cutter\\peeler": " Peeler"}[acc]
    return f"{cmd.upper()} {dpi}dpi {head}mm {ht.replace(',', '+')}{extra}"


def base_attributes(spec, groups, rng):
    cmd, dpi, head, ht, acc = spec
    a = {}
    a["cmd"] = cmd
    a["dpi"] = str(dpi)
    a["headtype"] = ht
    a["defheadtype"] = "TT" if ht == "DT,TT" and rng.random() < 0.7 else "DT"
    if cmd == "cpcl":
        speeds = "2,3,4"
    elif dpi == 600:
        speeds = "2,3"
    elif dpi == 300 or cmd in ("escpos", "tvraster"):
        speeds = "2,3,4,5,6"
    elif head == 108:
        speeds = "2,3,4,5,6,7,8,9,10,11,12"
    else:
        speeds = "2,3,4,5,6,7,8"
    a["speeds"] = speeds
    a["defspeed"] = "3" if dpi == 600 else ("4" if dpi == 300 or cmd == "cpcl" else "6")
    if cmd in ("tspl", "cvlabel"):
        a["densitys"], a["defdensity"] = "0,15", ("8" if dpi == 203 else "6")
    elif cmd == "cpcl":
        a["densitys"], a["defdensity"] = "0,5", "2"
    else:
        a["densitys"], a["defdensity"] = "-1,-1", "-1"
    a["accessor"] = acc
    a["headsize"] = str(head)
    a["hmargin"] = "1" if head <= 56 else ("3" if head <= 104 else "5")
    a["minwidth"] = "40" if cmd in ("escpos", "tvraster") else "3"
    maxwidth = 58 if head <= 56 else (220 if head == 108 and ht == "DT,TT" and dpi == 203 else 110)
    a["maxwidth"] = str(maxwidth)
    a["minlength"] = "40" if cmd in ("escpos", "tvraster") else "3"
    a["maxlength"] = {600: "600", 300: "1000"}.get(dpi, "1000" if cmd == "cpcl" else "3000")
    a["defgap"] = "3,0"
    group = next(g for g in groups if g["type"] == ({"cvlabel": "labelex", "tvraster": TOVANA}.get(cmd, "label")))
    w, h = pick_default_paper(group, head, maxwidth, rng)
    a["defpapersize"] = f"{num_text(w)},{num_text(h)}"
    a["paperlist"] = group["type"]
    a["defpapername"] = paper_name(w, h)
    a["defpapertype"] = "1" if cmd == "escpos" else rng.choice(["0", "0", "0", "2", "4", "5"])
    a["feedendpage"] = str(rng.randint(8, 25))
    if cmd in ("tspl", "cvlabel"):
        a["compress"] = "true"
        a["defcompress"] = rng.choice(["true", "false"])
    else:
        a["compress"] = "false"
    if cmd == "escpos":
        a["cropBottomEdge"] = "1000"
    if cmd in ("escpos", "tvraster"):
        a["graymethod"] = "3"
        a["light"] = "-45" if cmd == "escpos" else "-15"
        a["contrast"] = "13" if cmd == "escpos" else "5"
        a["scrapwater"] = "false"
    if cmd == "cvlabel" and head == 104:
        a["duplex"] = "true"
        a["gpdpapers"] = "true"
    if cmd == "cpcl":
        a["definepapertype"] = "false"
        a["pausekey"] = "false"
    if cmd == "tvraster":
        a["dottedline"] = "false"
        a["inf"] = "false"
    if dpi == 600:
        a["bluetoothdriver"] = "false"
    return a


# ---------------------------------------------------------------- derived models


def derived_overrides(parent, mode, groups, rng):
    """Attributes in which a model differs from its parent; equal values are never repeated."""
    o = {}
    speeds = parent["speeds"].split(",")
    if rng.random() < 0.35:
        o["defspeed"] = rng.choice([s for s in ("3", "4", "6") if s in speeds])
    if parent["densitys"] == "0,15" and rng.random() < 0.3:
        o["defdensity"] = rng.choice(["6", "8"])
    group_type = MODE_PAPERLIST.get(mode, mode)
    if group_type not in [g["type"] for g in groups] and rng.random() < 0.5:
        group_type = "labelex" if parent["paperlist"] == "label" else None
    group = next((g for g in groups if g["type"] == group_type), None)
    if group and rng.random() < 0.8:
        paper = pick_default_paper(group, int(parent["headsize"]), int(parent["maxwidth"]), rng)
        if paper:
            o["paperlist"] = group["type"]
            o["defpapername"] = paper_name(*paper)
            o["defpapersize"] = f"{num_text(paper[0])},{num_text(paper[1])}"
    if rng.random() < 0.25:
        o["feedendpage"] = str(rng.randint(8, 25))
    if rng.random() < 0.15:
        o["accessor"] = rng.choice(["", "cutter", "cutter\\peeler"])
    if parent["headtype"] == "DT,TT" and rng.random() < 0.2:
        o["defheadtype"] = rng.choice(["DT", "TT"])
    if rng.random() < 0.1:
        o["maxlength"] = rng.choice(["600", "1000", "3000"])
    if rng.random() < 0.1:
        o["defpapertype"] = rng.choice(["0", "1", "2", "4", "5"])
    if parent["compress"] == "true" and rng.random() < 0.15:
        o["defcompress"] = rng.choice(["true", "false"])
    return {k: v for k, v in o.items() if parent.get(k) != v}


def model_name(series, head, dpi, ht, used, rng, trailer=None):
    while True:
        t = trailer if trailer is not None else rng.choice(TRAILERS)
        name = f"{series}-{inch_of(head)}{str(dpi)[0]}{rng.randint(0, 9)}{rng.randint(0, 9)}" \
               f"{'T' if ht == 'DT,TT' else 'D'}{t}"
        if name not in used:
            used.add(name)
            return name


class Catalogue:
    def __init__(self):
        self.rng = random.Random(SEED)
        self.groups = build_papers(self.rng)
        self.modes = []  # (mode, [driver attribute dicts in output order])

    def build(self):
        rng = self.rng
        specs = native_specs(rng)
        natives = []
        for spec in specs:
            d = {"name": native_name(*spec)}
            d.update(base_attributes(spec, self.groups, rng))
            d["_spec"] = spec
            natives.append(d)
        by_name = {d["name"]: d for d in natives}

        # Hardware IDs of the reference designs; the Tovana raster bases have none of their own.
        with_id = rng.sample([d for d in natives if d["cmd"] != "tvraster"], 42)
        for d in with_id:
            d["usbname"] = hardware_id("LabelBase", d["name"])
        for d, cname in zip(rng.sample([d for d in with_id if d["cmd"] == "tspl"], 3),
                            ["Desktop Label Printer", "Industrial Label Printer", "Label Printer"]):
            d["customname"] = cname
            d["comment"] = "热敏标签打印机"
        for d in [d for d in natives if d["cmd"] == "cvlabel"][:2]:
            d["languagemonitor"] = "true"
        # One mobile base lists the paper types it offers; the others leave the list to the driver.
        mobile = next(d for d in natives if d["cmd"] == "cpcl")
        mobile["papertypelist"] = "0,1,2"
        mobile["defpapertype"] = "0"
        self.natives = natives
        self.by_name = by_name
        self.modes.append((NATIVE, natives))

        eligible = [d for d in natives if d["cmd"] != "tvraster"]
        weights = [4 if d["cmd"] == "tspl" else 2 for d in eligible]
        used = set(by_name)

        def new_model(series, trailer=None):
            parent = rng.choices(eligible, weights)[0]
            _, dpi, head, ht, _ = parent["_spec"]
            return model_name(series, head, dpi, ht, used, rng, trailer), parent["name"]

        own = [new_model(rng.choice(SERIES_OWN)) for _ in range(283)]
        own += [new_model(rng.choice(SERIES_OWN), "-BA") for _ in range(6)]
        others = [new_model(rng.choice(SERIES_OTHER)) for _ in range(120)]
        self.canonical_parent = dict(own + others)

        self.modes.append((OWN_MODE, self.build_own([n for n, _ in own])))
        self.modes.append((TOVANA, self.build_tovana()))

        # Every name of the other product lines appears somewhere; the rest of each mode re-badges
        # models of this build's own line or of its sibling lines.
        other_names = [n for n, _ in others]
        total = sum(size for _, size in OTHER_MODES)
        slots = [mode for mode, size in OTHER_MODES for _ in range(size)]
        rng.shuffle(slots)
        dealt = {mode: [] for mode, _ in OTHER_MODES}
        for name, mode in zip(other_names, slots):
            dealt[mode].append(name)
        all_names = [n for n, _ in own] + other_names
        without_id = set(rng.sample(range(total - len(STANDALONE_MODES)), 88))
        counter = 0
        for mode, size in OTHER_MODES:
            names = list(dealt[mode])
            names += rng.sample([n for n in all_names if n not in names], size - len(names))
            names.sort()
            drivers = []
            standalone = rng.choice(names) if mode in STANDALONE_MODES else None
            for name in names:
                parent = self.by_name[self.canonical_parent[name]]
                if name == standalone:
                    d = self.standalone(name, parent, mode)
                else:
                    d = {"name": name, "parent": parent["name"]}
                    if counter not in without_id:
                        d["usbname"] = hardware_id(mode, name)
                    counter += 1
                    self.flags_by_name(d, name)
                    if rng.random() < 0.08:
                        d["customname"] = f"{mode} {name}"
                    if rng.random() < 0.06:
                        d["comment"] = rng.choice(COMMENTS_BY_INCH[inch_of(int(parent["headsize"]))])
                    d.update(derived_overrides(parent, mode, self.groups, rng))
                drivers.append(d)
            self.modes.append((mode, drivers))
        return self

    def flags_by_name(self, d, name):
        if name.endswith("-BA"):
            d["btadapter"] = "true"

    def standalone(self, name, parent, mode):
        d = {"name": name, "usbname": hardware_id(mode, name)}
        d.update({k: v for k, v in parent.items()
                  if not k.startswith("_") and k not in ("name", "usbname", "customname", "comment")})
        d.update(derived_overrides(parent, mode, self.groups, self.rng))
        d["feedendpage"] = str(self.rng.randint(8, 25))
        return d

    def build_own(self, names):
        rng = self.rng
        names = sorted(names)
        standalone = set(rng.sample([n for n in names if not n.endswith("-BA")], 2))
        derived = [n for n in names if n not in standalone]
        # Models that rely on their parent's hardware ID.
        inherit_id = set(rng.sample([n for n in derived
                                     if "usbname" in self.by_name[self.canonical_parent[n]]], 19))
        lm = set(rng.sample(derived, 12))
        no_bt = set(rng.sample([n for n in derived
                                if "bluetoothdriver" not in self.by_name[self.canonical_parent[n]]], 8))
        custom = set(rng.sample(derived, 25))
        commented = set(rng.sample(derived, 20))
        drivers = []
        for name in names:
            parent = self.by_name[self.canonical_parent[name]]
            if name in standalone:
                d = self.standalone(name, parent, OWN_MODE)
                drivers.append(d)
                continue
            d = {"name": name, "parent": parent["name"]}
            if name not in inherit_id:
                d["usbname"] = hardware_id(OWN_MODE, name)
            if name in custom:
                d["customname"] = f"Corvane {name}"
            if name in commented:
                d["comment"] = rng.choice(COMMENTS_BY_INCH[inch_of(int(parent["headsize"]))])
            if name in lm and parent.get("languagemonitor") != "true":
                d["languagemonitor"] = "true"
            self.flags_by_name(d, name)
            if name in no_bt:
                d["bluetoothdriver"] = "false"
            d.update(derived_overrides(parent, OWN_MODE, self.groups, rng))
            drivers.append(d)

        def first(pred):
            return next(d for d in drivers if "parent" in d and pred(self.by_name[d["parent"]], d))

        # An own empty value hides the parent's: the queue name then falls back to the model name.
        first(lambda p, d: "customname" in p and "customname" not in d)["customname"] = ""
        first(lambda p, d: "comment" in p and "comment" not in d)["comment"] = ""
        first(lambda p, d: p.get("languagemonitor") == "true")["languagemonitor"] = "false"
        # Two models answering to one hardware ID: the first in document order is the one found.
        pairs = rng.sample([d for d in drivers if "usbname" in d and "parent" in d and "btadapter" not in d], 8)
        for a, b in zip(pairs[::2], pairs[1::2]):
            first_, second = sorted((a, b), key=drivers.index)
            second["usbname"] = first_["usbname"]
        return drivers

    def build_tovana(self):
        rng = self.rng
        bases = {d["headsize"]: d for d in self.natives if d["cmd"] == "tvraster" and d["accessor"] == ""}
        drivers = []
        for name, head, id_index, standalone in TOVANA_MODELS:
            parent = bases[str(head)]
            if standalone:
                d = {"name": name, "usbname": TOVANA_IDS[id_index]}
                d.update({k: v for k, v in parent.items() if not k.startswith("_") and k != "name"})
                d["feedendpage"] = str(rng.randint(8, 25))
            else:
                d = {"name": name, "parent": parent["name"], "usbname": TOVANA_IDS[id_index]}
                if name.endswith("W"):
                    d["comment"] = "Wi-Fi"
                d.update(derived_overrides(parent, TOVANA, self.groups, rng))
            drivers.append(d)
        return drivers


# ---------------------------------------------------------------- output

ATTR_ORDER = ["name", "parent", "usbname", "customname", "comment", "languagemonitor", "btadapter",
              "bluetoothdriver", "cmd", "dpi", "headtype", "defheadtype", "speeds", "defspeed", "densitys",
              "defdensity", "accessor", "headsize", "hmargin", "minwidth", "maxwidth", "minlength",
              "maxlength", "defgap", "defpapersize", "paperlist", "defpapername", "papertypelist",
              "defpapertype", "definepapertype", "feedendpage", "cropBottomEdge", "compress",
              "defcompress", "duplex", "gpdpapers", "graymethod", "light", "contrast", "dottedline",
              "pausekey", "scrapwater", "inf"]


def esc(value):
    return (value.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")
            .replace('"', "&quot;"))


def attrs_text(attrs):
    return "".join(f' {k}="{esc(v)}"' for k, v in attrs.items())


def render_catalogue(cat):
    lines = [DECLARATION.rstrip("\n"), f"<Drivers{attrs_text(HEADER)}>", "  <Manufacturers>"]
    for mode, drivers in cat.modes:
        mattrs = {"mode": mode}
        if mode in MODE_PAPERLIST:
            mattrs["paperlist"] = MODE_PAPERLIST[mode]
        if mode in MODE_NO_DOTTEDLINE:
            mattrs["dottedline"] = "false"
        lines.append(f"    <Manufacturer{attrs_text(mattrs)}>")
        for d in drivers:
            unknown = set(k for k in d if not k.startswith("_")) - set(ATTR_ORDER)
            assert not unknown, unknown
            ordered = {k: d[k] for k in ATTR_ORDER if k in d}
            lines.append(f"      <Driver{attrs_text(ordered)}/>")
        lines.append("    </Manufacturer>")
    lines += ["  </Manufacturers>", "  <Form>"]
    for g, papers in paper_elements(cat.groups, cat.rng):
        gattrs = {"type": g["type"]}
        if g["comment"]:
            gattrs["comment"] = g["comment"]
        lines.append(f"    <Papers{attrs_text(gattrs)}>")
        lines += [f"      <Paper{attrs_text(p)}/>" for p in papers]
        lines.append("    </Papers>")
    lines += ["  </Form>", "</Drivers>", ""]
    return "\n".join(lines)


def render_manufacturers():
    h = HEADER
    fields = [
        ("Name", OWN_MODE), ("ProductName", h["product"]), ("ProductEnName", h["product_en"]),
        ("CompanyName", h["company"]), ("CompanyEnName", h["company_en"]), ("WebSite", h["website"]),
        ("Email", h["email"]), ("Tel", h["tel"]), ("LogoFile", LOGO_FILE), ("Manufacturer", OWN_MODE),
        ("SetupPackageName", OWN_MODE), ("V0", h["version0"]), ("V1", h["version1"]),
        ("V2", h["version2"]), ("V3", h["version3"]), ("Time", ""), ("Remark", REMARK),
    ]
    flags = {"local_NeedCreateGpdPcd": "1", "local_bNeedCompile": "1", "local_bNeedCreateCab": "0",
             "local_bNeedPackage": "1"}
    lines = [DECLARATION.rstrip("\n"), "<Manufacturers>", f"  <Manufacturer{attrs_text(flags)}>"]
    for tag, text in fields:
        lines.append(f"    <{tag}>{esc(text)}</{tag}>" if text else f"    <{tag}></{tag}>")
    lines += ["  </Manufacturer>", "</Manufacturers>", ""]
    return "\n".join(lines)


def generate():
    cat = Catalogue().build()
    return render_catalogue(cat), render_manufacturers()


# ---------------------------------------------------------------- verification


class CheckFailed(Exception):
    pass


def require(cond, message):
    if not cond:
        raise CheckFailed(message)


def resolve(el, attr, modes, seen=None):
    """The inherited value of attr, or None; raises on a cycle."""
    seen = set() if seen is None else seen
    require(id(el) not in seen, f"cyclic parent chain at {el.get('name')}")
    seen.add(id(el))
    if attr in el.attrib:
        return el.get(attr)
    parent = parent_of(el, modes)
    return None if parent is None else resolve(parent, attr, modes, seen)


def parent_of(el, modes):
    mode = modes.get(el.get("parentmanufacturer", NATIVE))
    if mode is None:
        return None
    wanted = el.get("parent", "")
    return next((d for d in mode.findall("Driver") if d.get("name") == wanted), None)


def as_bool(value, default):
    return default if value is None else (value[:1] in ("1", "T", "t", "Y", "y"))


INT = r"-?\d+"
DEC = r"\d+(\.\d+)?"
CARRIED = {
    "cmd": r"tspl|cpcl|escpos|cvlabel|tvraster",
    "dpi": r"203|300|600",
    "headtype": r"DT|DT,TT",
    "defheadtype": r"DT|TT",
    "speeds": r"2,3(,\d+)*",
    "defspeed": r"3|4|6",
    "densitys": r"0,15|0,5|-1,-1",
    "defdensity": r"2|6|8|-1",
    "accessor": r"cutter\\peeler|cutter|",
    "headsize": r"\d+",
    "hmargin": r"1|3|5",
    "minwidth": r"3|40",
    "maxwidth": r"58|110|220",
    "minlength": r"3|40",
    "maxlength": r"600|1000|3000",
    "defgap": r"3,0",
    "defpapersize": DEC + "," + DEC,
    "paperlist": r".+",
    "defpapername": r".+",
    "papertypelist": r"0,1,2",
    "defpapertype": r"0|1|2|4|5",
    "definepapertype": r"false",
    "feedendpage": r"\d+",
    "cropBottomEdge": r"1000",
    "compress": r"true|false",
    "defcompress": r"true|false",
    "duplex": r"true",
    "gpdpapers": r"true",
    "graymethod": r"3",
    "light": r"-15|-45",
    "contrast": r"5|13",
    "dottedline": r"false",
    "pausekey": r"false",
    "scrapwater": r"false",
    "inf": r"false",
}
READ = {"usbname", "customname", "comment", "bluetoothdriver", "btadapter", "udp", "languagemonitor"}
IDENTITY = {"name", "parent", "parentmanufacturer"}
ALWAYS_RESOLVED = ["cmd", "dpi", "headtype", "defheadtype", "speeds", "defspeed", "densitys",
                   "defdensity", "accessor", "headsize", "hmargin", "minwidth", "maxwidth", "minlength",
                   "maxlength", "defgap", "defpapersize", "paperlist", "defpapername", "defpapertype",
                   "feedendpage", "compress"]


def check_catalogue(raw):
    require(not raw.startswith(b"\xef\xbb\xbf"), "catalogue starts with a byte-order mark")
    require(raw.startswith(DECLARATION.encode()), "catalogue does not start with the XML declaration")
    raw.decode("utf-8")
    root = ET.fromstring(raw)
    require(root.tag == "Drivers", "root is not Drivers")
    require([c.tag for c in root] == ["Manufacturers", "Form"], "Drivers children are not Manufacturers, Form")
    require("time" not in root.attrib, "root carries a time attribute")
    for k, v in HEADER.items():
        require(root.get(k) == v, f"root attribute {k} is {root.get(k)!r}")
    version = ".".join(str(int(root.get(f"version{i}"), 0)) for i in range(4))
    require(version == "3.0.2.465", f"version {version}")

    mans = root.find("Manufacturers").findall("Manufacturer")
    mode_names = [m.get("mode") for m in mans]
    require(len(mode_names) == len(set(mode_names)), "duplicate manufacturer modes")
    modes = {m.get("mode"): m for m in mans}
    require(mode_names[0] == NATIVE, "Native is not the first manufacturer")
    require("ZevrPrt" not in (n.lower() for n in mode_names), "a mode is named like the pseudo mode")
    counts = {m.get("mode"): len(m.findall("Driver")) for m in mans}
    require(all(counts.values()), "a manufacturer without models ends the whole-catalogue walk early")
    require([m.get("mode") for m in mans if m.get("paperlist") == "labelex"] == [OWN_MODE, "Kestova"],
            "paperlist=labelex modes")
    require(sum(m.get("dottedline") == "false" for m in mans) == 4 and
            modes[OWN_MODE].get("dottedline") == "false", "dottedline=false modes")

    drivers = [(m.get("mode"), d) for m in mans for d in m.findall("Driver")]
    groups = root.find("Form").findall("Papers")
    papers = [p for g in groups for p in g.findall("Paper")]
    group_names = {g.get("type"): {p.get("name"): p for p in g.findall("Paper")} for g in groups}
    all_paper_names = {p.get("name"): p for p in papers}

    with_parent = 0
    with_native_parent = 0
    usbnames = []
    for mode, d in drivers:
        name = d.get("name")
        require(name, f"a model of {mode} has no name")
        require("parentmanufacturer" not in d.attrib, f"{mode}/{name} writes parentmanufacturer")
        require("udp" not in d.attrib, f"{mode}/{name} has udp")
        for k, v in d.attrib.items():
            require(k in IDENTITY or k in READ or k in CARRIED, f"{mode}/{name}: unknown attribute {k}")
            if k in CARRIED:
                require(re.fullmatch(CARRIED[k], v), f"{mode}/{name}: {k}={v!r}")
            if k in ("bluetoothdriver", "btadapter", "languagemonitor"):
                require(v in ("true", "false"), f"{mode}/{name}: {k}={v!r}")
        if "usbname" in d.attrib:
            u = d.get("usbname")
            usbnames.append(u)
            require(re.fullmatch(r"USBPRINT\\[A-Za-z0-9_.-]+", u), f"{mode}/{name}: usbname {u!r}")
        if "parent" in d.attrib:
            require(mode != NATIVE, f"Native model {name} names a parent")
            with_parent += 1
            parent = parent_of(d, modes)
            require(parent is not None, f"{mode}/{name}: parent {d.get('parent')!r} not found")
            with_native_parent += 1
            for k, v in d.attrib.items():
                if k not in IDENTITY:
                    require(resolve(parent, k, modes) != v, f"{mode}/{name} repeats its parent's {k}={v!r}")
        # Resolved values: full attribute set, consistent with each other and with the paper groups.
        r = {k: resolve(d, k, modes) for k in list(CARRIED) + list(READ)}
        for k in ALWAYS_RESOLVED:
            require(r[k] is not None, f"{mode}/{name}: {k} resolves to nothing")
        require(r["defspeed"] in r["speeds"].split(","), f"{mode}/{name}: defspeed not in speeds")
        require(r["defheadtype"] in r["headtype"].split(","), f"{mode}/{name}: defheadtype")
        require(48 <= int(r["headsize"]) <= 108, f"{mode}/{name}: headsize")
        require(8 <= int(r["feedendpage"]) <= 25, f"{mode}/{name}: feedendpage")
        dens = r["densitys"]
        require({"0,15": ("6", "8"), "0,5": ("2",), "-1,-1": ("-1",)}[dens].count(r["defdensity"]) == 1,
                f"{mode}/{name}: defdensity {r['defdensity']} outside {dens}")
        require(r["paperlist"] in group_names, f"{mode}/{name}: paperlist {r['paperlist']!r}")
        paper = group_names[r["paperlist"]].get(r["defpapername"])
        require(paper is not None, f"{mode}/{name}: defpapername not in its group")
        size = [float(x) for x in paper.get("size").split(",")]
        require(size == [float(x) for x in r["defpapersize"].split(",")], f"{mode}/{name}: defpapersize")
        if mode == OWN_MODE:
            require(r["usbname"], f"{name}: no hardware ID")
        if mode == TOVANA:
            require(d.get("usbname") in TOVANA_IDS, f"Tovana/{name}: usbname {d.get('usbname')!r}")

    for mode, m in modes.items():
        names = [d.get("name") for d in m.findall("Driver")]
        require(len(names) == len(set(names)), f"duplicate model names in {mode}")

    text = raw.decode("utf-8").lower()
    for word in FORBIDDEN_WORDS:
        require(not re.search(r"(?<![a-z])" + word + r"(?![a-z])", text), f"real maker name {word!r}")

    res = [int(p.get("res")) for p in papers if "res" in p.attrib]
    for p in papers:
        require(re.fullmatch(r"\d+(\.\d+)?mm x \d+(\.\d+)?mm", p.get("name")), f"paper {p.get('name')!r}")
        require(re.fullmatch(DEC + r", *" + DEC, p.get("size")), f"paper size {p.get('size')!r}")
        require(len(p.get("name")) < 32, f"paper name too long for a form: {p.get('name')!r}")

    figures = {
        "manufacturer modes": len(mans),
        "first mode": mode_names[0],
        "Native models": counts[NATIVE],
        "CorvaneEx models": counts[OWN_MODE],
        "Tovana models": counts[TOVANA],
        "Driver elements": len(drivers),
        "distinct model names": len({d.get("name") for _, d in drivers}),
        "models naming a parent": with_parent,
        "models with a parent in Native": with_native_parent,
        "models outside Native without parent": sum(1 for m, d in drivers if m != NATIVE and "parent" not in d.attrib),
        "usbname attributes": len(usbnames),
        "distinct usbname values": len(set(usbnames)),
        "models whose usbname resolves empty": sum(1 for _, d in drivers if not resolve(d, "usbname", modes)),
        "customname attributes": sum("customname" in d.attrib for _, d in drivers),
        "comment attributes": sum("comment" in d.attrib for _, d in drivers),
        "languagemonitor attributes": sum("languagemonitor" in d.attrib for _, d in drivers),
        "models using the language monitor": sum(as_bool(resolve(d, "languagemonitor", modes), False) for _, d in drivers),
        "btadapter models": sum(as_bool(resolve(d, "btadapter", modes), False) for _, d in drivers),
        "bluetoothdriver=false attributes": sum(d.get("bluetoothdriver") == "false" for _, d in drivers),
        "models off the Bluetooth route": sum(not as_bool(resolve(d, "bluetoothdriver", modes), True) for _, d in drivers),
        "inf=false models": sum(d.get("inf") == "false" for _, d in drivers),
        "papertypelist models": sum("papertypelist" in d.attrib for _, d in drivers),
        "Papers groups": len(groups),
        "Paper elements": len(papers),
        "distinct paper names": len(all_paper_names),
        "papers with res": len(res),
        "papers with margin": sum("margin" in p.attrib for p in papers),
    }
    expected = {
        "manufacturer modes": 27, "first mode": NATIVE, "Native models": 60, "CorvaneEx models": 289,
        "Tovana models": len(TOVANA_MODELS), "Driver elements": 984, "distinct model names": 489,
        "models naming a parent": 915, "models with a parent in Native": 915,
        "models outside Native without parent": 9, "usbname attributes": 859, "inf=false models": 8,
        "papertypelist models": 1, "Papers groups": 14, "Paper elements": 319, "distinct paper names": 179,
        "papers with res": 37, "papers with margin": 1,
    }
    for k, v in expected.items():
        require(figures[k] == v, f"{k}: {figures[k]} instead of {v}")
    require(min(res) == 701 and max(res) == 741 and len(set(res)) == len(res), "paper res values")
    require(len(usbnames) > len(set(usbnames)), "no hardware ID is shared by two models")
    require(all(d.get("usbname") != "" for _, d in drivers), "an own empty usbname")
    for t in ("label", "labelex"):
        require(t in group_names, f"paper group {t} missing")
    return root, figures


def check_manufacturers(raw, catalogue_root):
    require(not raw.startswith(b"\xef\xbb\xbf"), "manufacturers starts with a byte-order mark")
    require(raw.startswith(DECLARATION.encode()), "manufacturers does not start with the XML declaration")
    root = ET.fromstring(raw)
    require(root.tag == "Manufacturers", "root is not Manufacturers")
    records = root.findall("Manufacturer")
    require(len(records) == 1, "exactly one manufacturer record")
    rec = records[0]
    text = {c.tag: (c.text or "") for c in rec}
    mapping = {"Name": "model", "ProductName": "product", "ProductEnName": "product_en",
               "CompanyName": "company", "CompanyEnName": "company_en", "WebSite": "website",
               "Email": "email", "Tel": "tel", "V0": "version0", "V1": "version1", "V2": "version2",
               "V3": "version3"}
    for tag, attr in mapping.items():
        require(text.get(tag) == catalogue_root.get(attr), f"record {tag} differs from the catalogue's {attr}")
    require(text.get("Manufacturer") == OWN_MODE and text.get("SetupPackageName") == OWN_MODE, "package mode")
    require(text.get("Time") == "" and "Disable" not in text, "Time empty, Disable absent")
    require(text.get("LogoFile") and text.get("Remark"), "LogoFile and Remark")
    for flag in ("local_NeedCreateGpdPcd", "local_bNeedCompile", "local_bNeedCreateCab", "local_bNeedPackage"):
        require(rec.get(flag) in ("0", "1"), f"record attribute {flag}")
    require(text["Name"] in [m.get("mode") for m in catalogue_root.iter("Manufacturer")], "record Name is no mode")


def verify(expect_texts=None):
    cat_raw = CATALOGUE.read_bytes()
    man_raw = MANUFACTURERS.read_bytes()
    root, figures = check_catalogue(cat_raw)
    check_manufacturers(man_raw, root)
    if expect_texts is not None:
        require(cat_raw == expect_texts[0].encode(), f"{CATALOGUE.name} is not what the generator writes")
        require(man_raw == expect_texts[1].encode(), f"{MANUFACTURERS.name} is not what the generator writes")
    width = max(len(k) for k in figures)
    for k, v in figures.items():
        print(f"  {k:<{width}}  {v}")


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--check", action="store_true", help="verify the committed files only")
    args = ap.parse_args()
    cat_text, man_text = generate()
    if not args.check:
        CATALOGUE.parent.mkdir(parents=True, exist_ok=True)
        CATALOGUE.write_bytes(cat_text.encode())
        MANUFACTURERS.write_bytes(man_text.encode())
        print(f"wrote {CATALOGUE.relative_to(ROOT)} and {MANUFACTURERS.relative_to(ROOT)}")
    try:
        verify((cat_text, man_text))
    except CheckFailed as e:
        print(f"check failed: {e}", file=sys.stderr)
        return 1
    print("catalogue checks passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
