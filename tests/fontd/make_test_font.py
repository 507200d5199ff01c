#!/usr/bin/python3
"""Writes TrueType fonts with fontTools for the reader's tests.

  make_test_font.py OUT.ttf KIND

KIND: "japanese-unicode" - (3,1) only, OS/2 code page 932, glyphs for U+3042 and U+0041;
      "western-format12" - (3,10) format 12 and (3,1), glyphs for U+00E9 and U+20AC;
      "curves"           - one glyph with off-curve points (U+0041);
      "composite"        - U+0041 a composite of U+0042;
      "upem1000"         - like western-format12 at 1000 units per em.
Every outline glyph is a square of 100 units at (100, 0), drawn clockwise.
"""
import sys

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen


def square(curve=False):
    pen = TTGlyphPen(None)
    pen.moveTo((100, 0))
    if curve:
        pen.qCurveTo((100, 100), (200, 100))
    else:
        pen.lineTo((100, 100))
        pen.lineTo((200, 100))
    pen.lineTo((200, 0))
    pen.closePath()
    return pen.glyph()


def main():
    out, kind = sys.argv[1], sys.argv[2]
    upem = 1000 if kind == "upem1000" else 960
    fb = FontBuilder(upem, isTTF=True)
    if kind == "japanese-unicode":
        cmap = {0x3042: "a", 0x41: "A"}
    elif kind in ("western-format12", "upem1000"):
        cmap = {0xE9: "a", 0x20AC: "A"}
    else:
        cmap = {0x41: "A", 0x42: "a"}
    fb.setupGlyphOrder([".notdef", "A", "a"])
    fb.setupCharacterMap(cmap)
    glyphs = {".notdef": TTGlyphPen(None).glyph(), "A": square(kind == "curves"), "a": square()}
    if kind == "composite":
        pen = TTGlyphPen({"a": glyphs["a"]})
        pen.addComponent("a", (1, 0, 0, 1, 50, 0))
        glyphs["A"] = pen.glyph()
    fb.setupGlyf(glyphs)
    fb.setupHorizontalMetrics({".notdef": (500, 0), "A": (300, 100), "a": (310, 100)})
    fb.setupHorizontalHeader(ascent=800, descent=-160)
    fb.setupNameTable({"familyName": "Foreign Test", "styleName": "Regular"})
    fb.setupOS2(ulCodePageRange1=(1 << 17) if kind == "japanese-unicode" else 1)
    fb.setupPost()
    if kind in ("western-format12", "upem1000"):
        from fontTools.ttLib.tables._c_m_a_p import CmapSubtable
        t = CmapSubtable.newSubtable(12)
        t.platformID, t.platEncID, t.language, t.cmap = 3, 10, 0, dict(cmap)
        fb.font["cmap"].tables.append(t)
    fb.save(out)


if __name__ == "__main__":
    main()
