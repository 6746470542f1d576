#!/usr/bin/env python3
"""Writes the fonts the component tests render with: free fonts given new family names.

usage: make_font_fixtures.py SOURCE_FOLDER OUTPUT_FOLDER

OUTPUT_FOLDER/fonts/ becomes the scanned fonts folder; it holds "Arial" (regular and
bold) and "Quill Serif". OUTPUT_FOLDER/extra/ holds "Quill Mono", a font the cache does
not know, for tests that hand the component a font file or font bytes.
"""
import os
import sys

from fontTools.ttLib import TTFont

FIXTURES = [
    ("DejaVuSans.ttf", "fonts/Arial.ttf", "Arial", "Regular"),
    ("DejaVuSans-Bold.ttf", "fonts/Arial-Bold.ttf", "Arial", "Bold"),
    ("DejaVuSerif.ttf", "fonts/QuillSerif.ttf", "Quill Serif", "Regular"),
    ("DejaVuSansMono.ttf", "extra/QuillMono.ttf", "Quill Mono", "Regular"),
]


def renamed(source, family, style):
    font = TTFont(source)
    names = font["name"]
    full = family if style == "Regular" else f"{family} {style}"
    postscript = full.replace(" ", "") if style == "Regular" else f"{family}-{style}".replace(" ", "")
    for record in list(names.names):
        if record.nameID in (1, 16):
            names.setName(family, record.nameID, record.platformID, record.platEncID, record.langID)
        elif record.nameID in (2, 17):
            names.setName(style, record.nameID, record.platformID, record.platEncID, record.langID)
        elif record.nameID in (3, 4):
            names.setName(full, record.nameID, record.platformID, record.platEncID, record.langID)
        elif record.nameID == 6:
            names.setName(postscript, record.nameID, record.platformID, record.platEncID, record.langID)
    return font


def main():
    source_folder, output_folder = sys.argv[1], sys.argv[2]
    for source, target, family, style in FIXTURES:
        path = os.path.join(output_folder, target)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        renamed(os.path.join(source_folder, source), family, style).save(path)


if __name__ == "__main__":
    main()
