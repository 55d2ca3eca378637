#!/usr/bin/env python3
"""Makes "Sacotin Sans Narrow", the narrow face the windows' "MS Sans Serif" texts are drawn in
where the system has no Liberation Sans Narrow (Liberation 2, as Debian 13, Fedora, Arch and
SteamOS ship it, has none): Liberation Sans 2 (SIL Open Font License 1.1) drawn at 82 % of its
width, the proportion of Liberation Sans Narrow to Liberation Sans, under a name of its own as
the licence asks of a modified font. Hinting and kerning, which the narrowing would make wrong,
are left out. Writes resources/fonts/SacotinSansNarrow-{Regular,Bold}.ttf, and copies beside it
Liberation Mono 2 as it is, for the layout's "Courier New" on a system without any Liberation
font; needs Debian's fonts-liberation2 and python3-fonttools.

    python3 resources/make_narrow_font.py
"""
import pathlib
import shutil

from fontTools.ttLib import TTFont
from fontTools.ttLib.tables import ttProgram

WIDTH = 0.82
FAMILY = "Sacotin Sans Narrow"
SOURCE = pathlib.Path("/usr/share/fonts/truetype/liberation2")
OUT = pathlib.Path(__file__).resolve().parent / "fonts"
# Tables that hold hinting, kerning or per-size widths of the original shapes.
DROPPED = ["fpgm", "prep", "cvt ", "gasp", "hdmx", "LTSH", "VDMX", "kern", "GPOS", "DSIG"]


def narrow(style):
    font = TTFont(SOURCE / f"LiberationSans-{style}.ttf", recalcTimestamp=False)
    glyphs = font["glyf"]
    metrics = font["hmtx"]
    for name in font.getGlyphOrder():
        glyph = glyphs[name]
        if glyph.isComposite():
            for component in glyph.components:
                component.x = round(component.x * WIDTH)
        elif glyph.numberOfContours > 0:
            glyph.coordinates.scale((WIDTH, 1))
            glyph.coordinates.toInt()
        if hasattr(glyph, "program"):
            glyph.program = ttProgram.Program()
            glyph.program.fromBytecode(b"")
        glyph.recalcBounds(glyphs)
        advance, _ = metrics[name]
        metrics[name] = (round(advance * WIDTH), getattr(glyph, "xMin", 0))
    for tag in DROPPED:
        if tag in font:
            del font[tag]
    font["maxp"].maxSizeOfInstructions = 0
    os2 = font["OS/2"]
    os2.usWidthClass = 3  # condensed
    os2.xAvgCharWidth = round(os2.xAvgCharWidth * WIDTH)
    font["hhea"].advanceWidthMax = max(advance for advance, _ in metrics.metrics.values())

    names = font["name"]
    full = FAMILY if style == "Regular" else f"{FAMILY} {style}"
    postscript = f"SacotinSansNarrow-{style}"
    for record in list(names.names):
        if record.nameID in (1, 16):
            names.setName(FAMILY, record.nameID, record.platformID, record.platEncID, record.langID)
        elif record.nameID == 3:
            names.setName(f"{postscript} (Sacotin)", 3, record.platformID,
                          record.platEncID, record.langID)
        elif record.nameID in (4, 18):
            names.setName(full, record.nameID, record.platformID, record.platEncID, record.langID)
        elif record.nameID == 6:
            names.setName(postscript, 6, record.platformID, record.platEncID, record.langID)
        elif record.nameID == 7:  # the trademark is Liberation's, not this font's
            names.removeNames(nameID=7)
        elif record.nameID == 10:
            names.setName("Liberation Sans 2 at 82 % of its width, without hinting or kerning.",
                          10, record.platformID, record.platEncID, record.langID)
    font.save(OUT / f"{postscript}.ttf")


if __name__ == "__main__":
    OUT.mkdir(exist_ok=True)
    for style in ("Regular", "Bold"):
        narrow(style)
        shutil.copyfile(SOURCE / f"LiberationMono-{style}.ttf", OUT / f"LiberationMono-{style}.ttf")
