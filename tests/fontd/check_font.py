#!/usr/bin/python3
"""Checks a font file with fontTools, independently of the code that wrote it.

  check_font.py FONT [--expect FILE]

Reads every table (checksums verified), then checks: the required tables; glyph 0 is
.notdef; maxp's counts are the true maxima; every glyph has only on-curve points, no
repeated and no collinear points, a bounding box that matches its points, and hmtx's left
side bearing equal to its xMin; head's box holds every glyph; OS/2 win metrics cover every
glyph; cmap has (3,1) (and (3,2) when OS/2 claims code page 932); the checksum adjustment.

--expect FILE: lines "CODE ORIGINX ORIGINY PITCHX PITCHY ROW ROW ...", one per glyph, with
rows of '#' and '.' for the dots.  The dot (i, j) is the canvas point (ORIGINX + i * PITCHX,
ORIGINY + j * PITCHY), at 2 font units per canvas pixel with canvas row 400 on the baseline.
The non-zero winding number there must be -1 (TrueType's clockwise) for '#' and 0 for '.'.
The code is looked up in (3,2) when the font has it, else in (3,1) through code page 1252.

Exit status 0 when everything holds; otherwise every fault is printed and the status is 1.
"""
import struct
import sys

from fontTools.pens.pointInsidePen import PointInsidePen
from fontTools.ttLib import TTFont

REQUIRED = ["cmap", "glyf", "head", "hhea", "hmtx", "loca", "maxp", "name", "OS/2", "post"]


def checksum(data):
    data += b"\0" * (-len(data) % 4)
    return sum(struct.unpack(">%dI" % (len(data) // 4), data)) & 0xFFFFFFFF


def structure(path, faults):
    data = open(path, "rb").read()
    n = struct.unpack_from(">H", data, 4)[0]
    tags = []
    head_at = None
    for i in range(n):
        tag, _, offset, length = struct.unpack_from(">4sIII", data, 12 + 16 * i)
        tags.append(tag)
        if offset % 4:
            faults.append("table %s is not 4-byte aligned" % tag)
        if tag == b"head":
            head_at = offset
    if tags != sorted(tags):
        faults.append("table directory not sorted")
    if head_at is not None:
        adjustment = struct.unpack_from(">I", data, head_at + 8)[0]
        zeroed = data[: head_at + 8] + b"\0\0\0\0" + data[head_at + 12:]
        if (0xB1B0AFBA - checksum(zeroed)) & 0xFFFFFFFF != adjustment:
            faults.append("wrong head.checkSumAdjustment")


def glyphs(font, faults):
    glyf = font["glyf"]
    hmtx = font["hmtx"]
    order = font.getGlyphOrder()
    if order[0] != ".notdef":
        faults.append("glyph 0 is %s" % order[0])
    max_points = max_contours = 0
    boxes = []
    for name in order:
        g = glyf[name]
        if g.isComposite():
            faults.append("%s is a composite" % name)
            continue
        if g.numberOfContours == 0:
            if hmtx[name][1] != 0:
                faults.append("%s: empty glyph with lsb %d" % (name, hmtx[name][1]))
            continue
        coords, ends, flags = g.getCoordinates(glyf)
        max_points = max(max_points, len(coords))
        max_contours = max(max_contours, len(ends))
        if any(not (f & 1) for f in flags):
            faults.append("%s has off-curve points" % name)
        start = 0
        for end in ends:
            pts = list(coords[start:end + 1])
            start = end + 1
            for k in range(len(pts)):
                a, b, c = pts[k - 1], pts[k], pts[(k + 1) % len(pts)]
                if a == b:
                    faults.append("%s: repeated point %s" % (name, b))
                elif (b[0] - a[0]) * (c[1] - b[1]) == (b[1] - a[1]) * (c[0] - b[0]):
                    faults.append("%s: collinear point %s" % (name, b))
        xs = [p[0] for p in coords]
        ys = [p[1] for p in coords]
        box = (min(xs), min(ys), max(xs), max(ys))
        if box != (g.xMin, g.yMin, g.xMax, g.yMax):
            faults.append("%s: box %s, points %s" % (name, (g.xMin, g.yMin, g.xMax, g.yMax), box))
        if hmtx[name][1] != box[0]:
            faults.append("%s: lsb %d, xMin %d" % (name, hmtx[name][1], box[0]))
        boxes.append(box)
    maxp = font["maxp"]
    if maxp.numGlyphs != len(order):
        faults.append("maxp.numGlyphs %d for %d glyphs" % (maxp.numGlyphs, len(order)))
    if (maxp.maxPoints, maxp.maxContours) != (max_points, max_contours):
        faults.append("maxp maxima %d/%d, true %d/%d"
                      % (maxp.maxPoints, maxp.maxContours, max_points, max_contours))
    if boxes:
        x0 = min(b[0] for b in boxes)
        y0 = min(b[1] for b in boxes)
        x1 = max(b[2] for b in boxes)
        y1 = max(b[3] for b in boxes)
        head = font["head"]
        if (head.xMin, head.yMin, head.xMax, head.yMax) != (x0, y0, x1, y1):
            faults.append("head box does not match the glyphs")
        os2 = font["OS/2"]
        if os2.usWinAscent < y1 or os2.usWinDescent < -y0:
            faults.append("OS/2 win metrics %d/%d do not cover %d/%d"
                          % (os2.usWinAscent, os2.usWinDescent, y1, -y0))


def char_maps(font, faults):
    cmap = font["cmap"]
    unicode = cmap.getcmap(3, 1)
    if unicode is None:
        faults.append("no (3,1) cmap")
    japanese = bool(font["OS/2"].ulCodePageRange1 & (1 << 17))
    sjis = cmap.getcmap(3, 2)
    if japanese and sjis is None:
        faults.append("code page 932 without a (3,2) cmap")
    order = set(font.getGlyphOrder())
    for table in cmap.tables:
        for code, name in table.cmap.items():
            if name not in order:
                faults.append("cmap (%d,%d) maps 0x%X to unknown %s"
                              % (table.platformID, table.platEncID, code, name))
                break
    return unicode, sjis


def expectations(font, path, unicode, sjis, faults):
    glyph_set = font.getGlyphSet()
    count = 0
    for line in open(path):
        parts = line.split()
        if not parts:
            continue
        code = int(parts[0], 0)
        ox, oy, px, py = map(float, parts[1:5])
        rows = parts[5:]
        if sjis is not None:
            name = sjis.cmap.get(code)
        else:
            try:
                char = bytes([code]).decode("cp1252")
            except UnicodeDecodeError:
                char = chr(code)
            name = unicode.cmap.get(ord(char))
        if name is None:
            faults.append("no glyph for code 0x%X" % code)
            continue
        for j, row in enumerate(rows):
            for i, dot in enumerate(row):
                x = (ox + i * px) * 2
                y = (400 - (oy + j * py)) * 2
                pen = PointInsidePen(glyph_set, (x, y))
                glyph_set[name].draw(pen)
                want = -1 if dot == "#" else 0
                if pen.getWinding() != want:
                    faults.append("code 0x%X dot (%d,%d): winding %d, want %d"
                                  % (code, i, j, pen.getWinding(), want))
        count += 1
    return count


def main():
    args = sys.argv[1:]
    if not args:
        print(__doc__)
        return 2
    path = args[0]
    expect = args[args.index("--expect") + 1] if "--expect" in args else None
    faults = []
    structure(path, faults)
    font = TTFont(path, checkChecksums=2, lazy=False)
    for tag in font.keys():
        font[tag]  # decompiles every table
    for tag in REQUIRED:
        if tag not in font:
            faults.append("missing table %s" % tag)
    if faults:
        print("\n".join(faults))
        return 1
    glyphs(font, faults)
    unicode, sjis = char_maps(font, faults)
    checked = expectations(font, expect, unicode, sjis, faults) if expect else 0
    for f in faults[:50]:
        print(f)
    print("%s: %d glyphs, %d expectations, %d faults"
          % (path, len(font.getGlyphOrder()), checked, len(faults)))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
