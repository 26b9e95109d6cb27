"""Reads GTK font names as Pango does, for the desktop font's test table.

Usage: pango_fonts.py TABLE          prints TABLE's rows as this Pango reads them
       pango_fonts.py --check TABLE  exits 1, naming each row, where they differ

TABLE is tab-separated: the name, then the family list, the size in Pango's
units (1/1024 point or pixel), whether it is in pixels, the weight, style,
stretch and variant as Pango numbers them, and the variations. A row whose
name ends in a blank keeps it quoted: "Sans 10 ".
"""
import sys

import gi

gi.require_version("Pango", "1.0")
from gi.repository import Pango  # noqa: E402


def row(name):
    d = Pango.FontDescription.from_string(name)
    text = name if name.strip() == name else '"' + name + '"'
    return "\t".join([text, d.get_family() or "", str(d.get_size()),
                      "1" if d.get_size_is_absolute() else "0", str(int(d.get_weight())),
                      str(int(d.get_style())), str(int(d.get_stretch())),
                      str(int(d.get_variant())), d.get_variations() or ""])


def names(path):
    with open(path, encoding="utf-8") as table:
        for line in table:
            if line.startswith("#") or not line.strip("\n"):
                continue
            name = line.rstrip("\n").split("\t")[0]
            yield line.rstrip("\n"), name[1:-1] if name.startswith('"') else name


def main(args):
    check = args[:1] == ["--check"]
    differing = 0
    print("# Pango " + Pango.version_string())
    for line, name in names(args[-1]):
        got = row(name)
        if not check:
            print(got)
        elif got != line:
            print("not ok - " + repr(name) + ": the table has\n  " + line + "\n  Pango gives\n  " + got)
            differing += 1
    if check:
        print(("ok" if not differing else "not ok") + " - every row as Pango reads it")
    return 1 if differing else 0


sys.exit(main(sys.argv[1:]))
