#!/usr/bin/python3
"""Writes the seed corpus of the font reader's fuzz target (tests/fuzz/truetype): small
real fonts cut down with fontTools, and damaged copies of them."""
import struct
import sys
from fontTools import subset
from fontTools.ttLib import TTFont, TTCollection

sys.path.insert(0, __file__.rsplit("/", 1)[0])
import make_fixtures  # noqa: E402

LIB = "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf"
DEJAVU = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
TAHOMA = "/usr/share/wine/fonts/tahoma.ttf"


def small(path, text, out, tables=()):
    f = TTFont(path)
    o = subset.Options()
    o.hinting = True
    o.glyph_names = True
    o.legacy_kern = True
    o.notdef_outline = True
    o.drop_tables = [t for t in o.drop_tables if t not in tables]
    s = subset.Subsetter(o)
    s.populate(text=text)
    s.subset(f)
    f.save(out)
    return open(out, "rb").read()


def table(font, tag):
    n = struct.unpack(">H", font[4:6])[0]
    for i in range(n):
        rec = 12 + 16 * i
        if font[rec:rec + 4] == tag:
            return rec, struct.unpack(">III", font[rec + 4:rec + 16])
    raise KeyError(tag)


def main(folder):
    lib = small(LIB, "AÁaàBé.,:", folder + "/liberation.ttf")
    small(DEJAVU, "Aéïœ", folder + "/dejavu.ttf")
    small(TAHOMA, "Ta", folder + "/tahoma.ttf", tables=("EBLC", "EBDT"))
    c = TTCollection()
    c.fonts = [TTFont(folder + "/liberation.ttf"), TTFont(folder + "/dejavu.ttf")]
    c.save(folder + "/collection.ttc")
    # A version 0 OS/2 of 78 bytes as the last table.
    f = TTFont(folder + "/liberation.ttf")
    tabs = {t: f.reader[t] for t in f.reader.keys()}
    tabs["OS/2"] = b"\0\0" + tabs["OS/2"][2:78]
    make_fixtures.write_sfnt(folder + "/shortos2.ttf", tabs, [t for t in sorted(tabs) if t != "OS/2"] + ["OS/2"])

    # A composite glyph that lists itself as its component.
    f = TTFont(folder + "/liberation.ttf", recalcBBoxes=False)
    order = f.getGlyphOrder()
    gid = next(i for i, g in enumerate(order) if f["glyf"][g].isComposite())
    f["glyf"][order[gid]].components[0].glyphName = order[gid]
    f.save(folder + "/cycle.ttf")

    open(folder + "/cut_half.ttf", "wb").write(lib[:len(lib) // 2])
    open(folder + "/cut_directory.ttf", "wb").write(lib[:40])
    rec, (s, off, ln) = table(lib, b"loca")
    bad = bytearray(lib)
    bad[off + 4:off + 8] = b"\xff\xff\xff\xff"
    open(folder + "/loca_damaged.ttf", "wb").write(bad)
    open(folder + "/otto.otf", "wb").write(b"OTTO" + lib[4:64])
    open(folder + "/ttcf_v3.ttc", "wb").write(b"ttcf\0\3\0\0\0\0\0\1\0\0\0\x10" + lib)


if __name__ == "__main__":
    main(sys.argv[1])
