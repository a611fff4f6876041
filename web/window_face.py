# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the page's window face: the desktop's Liberation Sans with every advance as the desktop
sets it at 11 px, 95 % of its width (QFont::PercentageSpacing).

A browser's letter spacing adds one length to every character, where the desktop takes 5 % off
each one's own width, so wide and narrow letters drift apart and a long line in the editor wraps
at another word. With the advances built into the face the page lays text out within a fraction
of a pixel of the desktop, and its letter spacing stays 0.

The desktop works in 1/64 px: a glyph's advance at 11 px, cut to 1/64, less 5 % of that cut to
1/64 again. Kerning is taken 95 % too, as the desktop's spacing applies to kerned advances. The
font's licence reserves its name for the unmodified font, so the result is named on its own.

Usage: python3 window_face.py LiberationSans-Regular.ttf TobricWindow-Regular.ttf
"""
import sys

from fontTools.ttLib import TTFont

PIXELS = 11
PERCENT = 95
FAMILY = "Tobric Window"


def desktop_advance(units, units_per_em):
    """A width in font units as the desktop lays it out at PIXELS, back in font units."""
    cut = units * PIXELS * 64 // units_per_em
    spaced = cut - cut * (100 - PERCENT) // 100
    return round(spaced * units_per_em / (PIXELS * 64))


def scale_value(record):
    if record is not None and getattr(record, "XAdvance", None):
        record.XAdvance = round(record.XAdvance * PERCENT / 100)


def scale_kerning(font):
    for lookup in font["GPOS"].table.LookupList.Lookup:
        for table in lookup.SubTable:
            kind = lookup.LookupType
            if kind == 9:  # an extension: the real subtable inside
                table, kind = table.ExtSubTable, table.ExtSubTable.LookupType
            if kind != 2:  # pair adjustment: kerning
                continue
            if table.Format == 1:
                pairs = [pair for pairs in table.PairSet for pair in pairs.PairValueRecord]
            else:
                pairs = [pair for row in table.Class1Record for pair in row.Class2Record]
            for pair in pairs:
                scale_value(pair.Value1)
                scale_value(pair.Value2)
    if "kern" in font:
        for table in font["kern"].kernTables:
            for pair, value in table.kernTable.items():
                table.kernTable[pair] = round(value * PERCENT / 100)


def rename(font):
    names = font["name"]
    for record in list(names.names):
        if record.nameID in (1, 4, 16):
            names.setName(FAMILY, record.nameID, record.platformID, record.platEncID, record.langID)
        elif record.nameID == 3:
            names.setName(FAMILY + " Regular", 3, record.platformID, record.platEncID,
                          record.langID)
        elif record.nameID == 6:
            names.setName(FAMILY.replace(" ", "") + "-Regular", 6, record.platformID,
                          record.platEncID, record.langID)


def main(source, target):
    font = TTFont(source)
    units_per_em = font["head"].unitsPerEm
    metrics = font["hmtx"].metrics
    for glyph, (advance, bearing) in metrics.items():
        metrics[glyph] = (desktop_advance(advance, units_per_em), bearing)
    scale_kerning(font)
    rename(font)
    font.save(target)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__.strip().splitlines()[-1])
    main(sys.argv[1], sys.argv[2])
