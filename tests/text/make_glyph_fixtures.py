#!/usr/bin/env python3
"""Writes fonts whose glyphs drive FreeType's glyph building into each of its refusals,
and a font carrying grey embedded bitmap strikes.

usage: make_glyph_fixtures.py OUTPUT_FOLDER

Each font maps "A" to an ordinary square glyph and "W" to its special glyph:
  wide-advance.ttf   16 units per em; "W" advances 60 000 units, which at 22 pixels no
                     glyph record can hold (FT_Get_Glyph refuses it).
  sliver.ttf         1000 units per em; "W" is a sliver 7.5 ems long and a fraction of a
                     pixel high at 100 pixels: every pixel of its one row is a cell of the
                     rasteriser, more than its pool holds (FT_Glyph_To_Bitmap fails).
  huge-square.ttf    16 units per em; "W" is a square of +-32 767 units.
  grey-strikes.ttf   1000 units per em; besides its outlines, a 2-bit strike at 20 pixels
                     and a 4-bit one at 24, each holding "A" as an 8 x 8 gradient whose
                     columns step through the strike's grey levels.
"""
import os
import sys

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen

# Column levels of the strike glyphs, left to right; every row is the same.
STRIKES = [(20, 2, [1, 2, 3, 3, 3, 3, 2, 1]), (24, 4, [1, 5, 10, 15, 15, 10, 5, 1])]
STRIKE_SIZE = 8


def polygon(points):
    pen = TTGlyphPen(None)
    pen.moveTo(points[0])
    for point in points[1:]:
        pen.lineTo(point)
    pen.closePath()
    return pen.glyph()


def square(x0, y0, x1, y1):
    # glyf stores each coordinate as a 16-bit step from the one before, so a side longer
    # than 32 767 units gets a point half way along.
    xm, ym = (x0 + x1) // 2, (y0 + y1) // 2
    return polygon([(x0, y0), (x0, ym), (x0, y1), (xm, y1), (x1, y1), (x1, ym), (x1, y0), (xm, y0)])


def build(units_per_em, special, advance):
    ordinary = square(units_per_em // 8, 0, units_per_em * 5 // 8, units_per_em * 3 // 4)
    glyphs = {".notdef": ordinary, "A": ordinary, "W": special}
    left_of = {"W": min(x for x, _ in special.coordinates)}
    builder = FontBuilder(units_per_em, isTTF=True)
    builder.setupGlyphOrder(list(glyphs))
    builder.setupCharacterMap({ord("A"): "A", ord("W"): "W"})
    builder.setupGlyf(glyphs)
    builder.setupHorizontalMetrics({name: (advance if name == "W" else units_per_em * 3 // 4,
                                           left_of.get(name, units_per_em // 8))
                                    for name in glyphs})
    builder.setupHorizontalHeader(ascent=units_per_em, descent=-units_per_em // 4)
    builder.setupNameTable({"familyName": "Quill Glyph Fixture", "styleName": "Regular"})
    builder.setupOS2()
    builder.setupPost()
    return builder


def line_metrics(direction, ppem):
    fields = ["ascender", "descender", "widthMax", "caretSlopeNumerator", "caretSlopeDenominator",
              "caretOffset", "minOriginSB", "minAdvanceSB", "maxBeforeBL", "minAfterBL", "pad1", "pad2"]
    values = {"ascender": ppem, "descender": -(ppem // 4), "widthMax": STRIKE_SIZE + 1,
              "caretSlopeNumerator": 1 if direction == "hori" else 0}
    body = "".join(f'<{name} value="{values.get(name, 0)}"/>' for name in fields)
    return f'<sbitLineMetrics direction="{direction}">{body}</sbitLineMetrics>'


def row_bytes(depth, levels):
    bits = "".join(format(level, f"0{depth}b") for level in levels)
    bits += "0" * (-len(bits) % 8)
    return bytes(int(bits[i:i + 8], 2) for i in range(0, len(bits), 8))


def strikes_xml():
    locations, images = [], []
    for index, (ppem, depth, levels) in enumerate(STRIKES):
        locations.append(
            f'<strike index="{index}"><bitmapSizeTable>{line_metrics("hori", ppem)}'
            f'{line_metrics("vert", ppem)}<colorRef value="0"/><startGlyphIndex value="1"/>'
            f'<endGlyphIndex value="1"/><ppemX value="{ppem}"/><ppemY value="{ppem}"/>'
            f'<bitDepth value="{depth}"/><flags value="1"/></bitmapSizeTable>'
            '<eblc_index_sub_table_1 imageFormat="1" firstGlyphIndex="1" lastGlyphIndex="1">'
            '<glyphLoc id="1" name="A"/></eblc_index_sub_table_1></strike>')
        data = row_bytes(depth, levels).hex() * STRIKE_SIZE
        images.append(
            f'<strikedata index="{index}"><ebdt_bitmap_format_1 name="A"><SmallGlyphMetrics>'
            f'<height value="{STRIKE_SIZE}"/><width value="{STRIKE_SIZE}"/><BearingX value="0"/>'
            f'<BearingY value="{STRIKE_SIZE}"/><Advance value="{STRIKE_SIZE + 1}"/>'
            f'</SmallGlyphMetrics><rawimagedata>{data}</rawimagedata>'
            '</ebdt_bitmap_format_1></strikedata>')
    return ('<?xml version="1.0" encoding="UTF-8"?><ttFont sfntVersion="\\x00\\x01\\x00\\x00">'
            f'<EBLC><header version="2.0"/>{"".join(locations)}</EBLC>'
            f'<EBDT><header version="2.0"/>{"".join(images)}</EBDT></ttFont>')


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    big = 32767
    build(16, square(1, 0, 9, 12), 60000).save(os.path.join(folder, "wide-advance.ttf"))
    build(1000, polygon([(0, 1), (0, 2), (7500, 8), (7500, 7)]), 7600).save(
        os.path.join(folder, "sliver.ttf"))
    build(16, square(-big, -big, big, big), 12).save(os.path.join(folder, "huge-square.ttf"))
    strikes = build(1000, square(0, 0, 500, 700), 600)
    xml = os.path.join(folder, "grey-strikes.ttx")
    with open(xml, "w", encoding="utf-8") as out:
        out.write(strikes_xml())
    strikes.font.importXML(xml)
    os.remove(xml)
    strikes.save(os.path.join(folder, "grey-strikes.ttf"))


if __name__ == "__main__":
    main()
