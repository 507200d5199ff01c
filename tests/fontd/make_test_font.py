#!/usr/bin/python3
"""Writes TrueType fonts with fontTools for the reader's tests.

  make_test_font.py OUT.ttf KIND

KIND: "japanese-unicode" - (3,1) only, OS/2 code page 932, glyphs for U+3042 and U+0041;
      "western-format12" - (3,10) format 12 and (3,1), glyphs for U+00E9 and U+20AC;
      "curves"           - one glyph with off-curve points (U+0041);
      "composite"        - U+0041 a composite of U+0042;
      "upem1000"         - like western-format12 at 1000 units per em.
Every outline glyph is a square of 100 units at (100, 0), drawn clockwise.
make_test_font.py OUT.ttf|.woff|.woff2 pixels CODE=ROWS...: a pixel font, 10 dots of 100 units
an em; CODE (hex) is ROWS of '#' and '.' joined by '/', the top row 8 dots above the baseline.
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


def pixels(out, pictures):
    fb = FontBuilder(1000, isTTF=True)
    fb.setupGlyphOrder(names := [".notdef"] + ["g%s" % code for code, _ in pictures])
    fb.setupCharacterMap({int(code, 16): "g%s" % code for code, _ in pictures})
    glyphs = {".notdef": TTGlyphPen(None).glyph()}
    for code, rows in pictures:
        pen = TTGlyphPen(None)
        for r, row in enumerate(rows.split("/")):
            for x in (x for x, c in enumerate(row) if c == "#"):
                x0, y0 = x * 100, (7 - r) * 100
                pen.moveTo((x0, y0))
                for point in ((x0, y0 + 100), (x0 + 100, y0 + 100), (x0 + 100, y0)):
                    pen.lineTo(point)
                pen.closePath()
        glyphs["g%s" % code] = pen.glyph()
        glyphs["g%s" % code].recalcBounds(None)
    fb.setupGlyf(glyphs)
    # FreeType places an outline by its left side bearing: the outline's xMin.
    fb.setupHorizontalMetrics({n: (1000, getattr(glyphs[n], "xMin", 0)) for n in names})
    fb.setupHorizontalHeader(ascent=800, descent=-200)
    fb.setupNameTable({"familyName": "Pixel Test", "styleName": "Regular"})
    fb.setupOS2()
    fb.setupPost()
    fb.font.flavor = {"woff": "woff", "woff2": "woff2"}.get(out.rsplit(".", 1)[1])
    fb.save(out)


def main():
    out, kind = sys.argv[1], sys.argv[2]
    if kind == "pixels":
        pixels(out, [arg.split("=", 1) for arg in sys.argv[3:]])
        return
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
