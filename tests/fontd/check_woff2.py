#!/usr/bin/python3
"""Checks that a WOFF2 file unpacks, by fontTools, to the tables of a TrueType font.

  check_woff2.py FONT.ttf FONT.woff2

glyf and loca are rebuilt from WOFF2's transformed glyph data, so glyphs are compared by
their points, contours and instructions; head by its fields, save the checksum adjustment,
the dates (two saves differ in them) and bit 11 of its flags, which WOFF2 sets.  Every other
table must come back byte for byte.  Exit status 0 when everything holds.
"""
import sys

from fontTools.ttLib import TTFont

HEAD_SKIPPED = {"checkSumAdjustment", "created", "modified", "flags"}


def main():
    ttf, woff = TTFont(sys.argv[1]), TTFont(sys.argv[2])
    faults = []
    if woff.flavor != "woff2":
        faults.append("%s is not WOFF2 but %s" % (sys.argv[2], woff.flavor))
    if sorted(ttf.keys()) != sorted(woff.keys()):
        faults.append("tables %s against %s" % (sorted(ttf.keys()), sorted(woff.keys())))
    for tag in ttf.keys():
        if tag in ("GlyphOrder", "loca") or tag not in woff:
            continue
        if tag == "glyf":
            a, b = ttf["glyf"], woff["glyf"]
            if a.keys() != b.keys():
                faults.append("glyph names differ")
            for name in a.keys():
                ga, gb = a[name], b[name]
                pa = (list(ga.getCoordinates(a)[0]), list(ga.getCoordinates(a)[1]),
                      [f & 1 for f in ga.getCoordinates(a)[2]])
                pb = (list(gb.getCoordinates(b)[0]), list(gb.getCoordinates(b)[1]),
                      [f & 1 for f in gb.getCoordinates(b)[2]])
                if pa != pb:
                    faults.append("glyph %s differs" % name)
        elif tag == "head":
            for field, value in vars(ttf["head"]).items():
                if field not in HEAD_SKIPPED and getattr(woff["head"], field) != value:
                    faults.append("head.%s: %r against %r"
                                  % (field, value, getattr(woff["head"], field)))
            if woff["head"].flags & ~0x0800 != ttf["head"].flags:
                faults.append("head.flags differ")
        elif ttf.getTableData(tag) != woff.getTableData(tag):
            faults.append("table %s differs" % tag)
    for fault in faults:
        print(fault)
    print("FAIL" if faults else "OK")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
