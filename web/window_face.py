# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the page's window face: the desktop's Liberation Sans with every advance as the desktop
sets it at 11 px, 95 % of its width (QFont::PercentageSpacing); and the editor's face, the same
with the desktop's rule for a word at the end of a row.

A browser's letter spacing adds one length to every character, where the desktop takes 5 % off
each one's own width, so wide and narrow letters drift apart and a long line in the editor wraps
at another word. With the advances built into the face the page lays text out within a fraction
of a pixel of the desktop, and its letter spacing stays 0.

The desktop works in 1/64 px: a glyph's advance at 11 px, cut to 1/64, less 5 % of that cut to
1/64 again. Kerning is taken 95 % too, as the desktop's spacing applies to kerned advances. The
font's licence reserves its name for the unmodified font, so the results are named on their own.

The desktop's text box breaks a row before a word whose last letter's ink, rounded out to whole
pixels, would reach past the box, where a browser looks at advances alone. In the editor's face
such a letter before a space or at the end of the text is a pixel wider (the space after it a
pixel narrower, so nothing moves within a row): a browser then breaks where the desktop does.

Both faces keep only the characters the page shows (PAGE_CHARACTERS), with every layout feature,
the hinting and every name (the licence among them): a tenth of the size, for the single-file page.

Usage: python3 window_face.py LiberationSans-Regular.ttf TobricWindow-Regular.ttf \
           TobricEditor-Regular.ttf
"""
import copy
import math
import sys

from fontTools import subset
from fontTools.feaLib.builder import addOpenTypeFeaturesFromString
from fontTools.ttLib import TTFont

PIXELS = 11
PERCENT = 95
WINDOW_FAMILY = "Tobric Window"
EDITOR_FAMILY = "Tobric Editor"
# The machine's texts are single bytes shown as Latin-1; the page's own messages add typographic
# punctuation (a right quote, dashes). Anything else falls back to another face, as it did before.
PAGE_CHARACTERS = [*range(0x00, 0x100), *range(0x2000, 0x2070)]


def keep_page_characters(font):
    options = subset.Options(layout_features=["*"], hinting=True, name_IDs=["*"],
                             name_languages=["*"], name_legacy=True, legacy_kern=True,
                             glyph_names=True)
    options.drop_tables += ["FFTM"]  # a font editor's time stamps, which no browser reads
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=PAGE_CHARACTERS)
    subsetter.subset(font)


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


def overhanging_glyphs(font):
    """The Latin-1 letters whose ink at PIXELS, its right edge rounded up to a whole pixel, reaches
    past their advance rounded to a whole pixel: the desktop's right bearing of -1 px."""
    scale = PIXELS / font["head"].unitsPerEm
    glyphs, metrics = font["glyf"], font["hmtx"].metrics

    def ink_right(name):
        # An accented letter's parts are placed on whole pixels, as the font asks of them.
        outline = glyphs[name]
        if outline.isComposite():
            parts = [(ink_right(part.glyphName), round(part.x * scale)) for part in outline.components]
            return max((right + x for right, x in parts if right is not None), default=None)
        return outline.xMax * scale if hasattr(outline, "xMax") else None

    found = set()
    for code, name in font.getBestCmap().items():
        right = ink_right(name) if 0x21 <= code <= 0xFF else None
        if right is not None and round(metrics[name][0] * scale) < math.ceil(right):
            found.add(name)
    return found


def remap_lookups(node, offset):
    """Moves every lookup reference under `node` on by `offset`."""
    if isinstance(node, list):
        for item in node:
            remap_lookups(item, offset)
    elif hasattr(node, "LookupListIndex") and hasattr(node, "SequenceIndex"):
        node.LookupListIndex += offset
    elif hasattr(node, "__dict__"):
        for value in vars(node).values():
            remap_lookups(value, offset)


def add_end_of_word_pixel(font, glyphs):
    """The kerning feature widens `glyphs` by a pixel before a space (which narrows by as much)
    or at the end of the text. Built apart by feaLib, then added after the font's own lookups."""
    pixel = round(font["head"].unitsPerEm / PIXELS)
    letters = sorted({name for code, name in font.getBestCmap().items() if 0x20 <= code <= 0xFF})
    rules = f"""
        languagesystem DFLT dflt;
        @overhang = [{" ".join(sorted(glyphs))}];
        @letter = [{" ".join(letters)}];
        lookup endOfWord {{
            pos @overhang' {pixel} space' -{pixel};
            ignore pos @overhang' @letter;
            pos @overhang' {pixel};
        }} endOfWord;
        feature kern {{ lookup endOfWord; }} kern;
    """
    apart = copy.deepcopy(font)
    del apart["GPOS"]
    addOpenTypeFeaturesFromString(apart, rules, tables=["GPOS"])
    built, own = apart["GPOS"].table, font["GPOS"].table
    offset = len(own.LookupList.Lookup)
    for lookup in built.LookupList.Lookup:
        remap_lookups(lookup.SubTable, offset)
        own.LookupList.Lookup.append(lookup)
    own.LookupList.LookupCount = len(own.LookupList.Lookup)
    rule = offset + built.FeatureList.FeatureRecord[0].Feature.LookupListIndex[0]
    for record in own.FeatureList.FeatureRecord:
        if record.FeatureTag == "kern":
            record.Feature.LookupListIndex.append(rule)
            record.Feature.LookupCount = len(record.Feature.LookupListIndex)


def rename(font, family):
    names = font["name"]
    for record in list(names.names):
        if record.nameID in (1, 4, 16):
            names.setName(family, record.nameID, record.platformID, record.platEncID, record.langID)
        elif record.nameID == 3:
            names.setName(family + " Regular", 3, record.platformID, record.platEncID,
                          record.langID)
        elif record.nameID == 6:
            names.setName(family.replace(" ", "") + "-Regular", 6, record.platformID,
                          record.platEncID, record.langID)


def main(source, window_target, editor_target):
    font = TTFont(source)
    keep_page_characters(font)
    overhanging = overhanging_glyphs(font)  # of the letters as drawn, before any change
    units_per_em = font["head"].unitsPerEm
    metrics = font["hmtx"].metrics
    for glyph, (advance, bearing) in metrics.items():
        metrics[glyph] = (desktop_advance(advance, units_per_em), bearing)
    scale_kerning(font)
    rename(font, WINDOW_FAMILY)
    font.save(window_target)
    add_end_of_word_pixel(font, overhanging)
    rename(font, EDITOR_FAMILY)
    font.save(editor_target)


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit("usage: python3 window_face.py SOURCE.ttf WINDOW_FACE.ttf EDITOR_FACE.ttf")
    main(*sys.argv[1:])
