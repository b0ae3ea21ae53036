#!/usr/bin/python3
"""Writes the font fixtures of the TrueType tests into a folder.

collection.ttc   two Liberation Sans faces (Regular, Bold) in one collection
composite.ttf    Liberation Sans with a composite of a composite (glyph 'compcomp') and
                 a Windows Unicode cmap in format 0 only
format12.ttf     Liberation Sans whose Windows Unicode cmap is in format 12 only
shortos2.ttf     Liberation Sans with a version 0 OS/2 table (78 bytes) as the last table
"""
import struct
import sys
from fontTools.ttLib import TTFont, TTCollection, newTable
from fontTools.ttLib.tables import _g_l_y_f
from fontTools.ttLib.tables._c_m_a_p import cmap_format_0, CmapSubtable

LIB = "/usr/share/fonts/truetype/liberation2/LiberationSans-%s.ttf"


def collection(out):
    c = TTCollection()
    c.fonts = [TTFont(LIB % "Regular"), TTFont(LIB % "Bold")]
    c.save(out)


def composite(out):
    f = TTFont(LIB % "Regular")
    glyf = f["glyf"]
    base = glyf["Aacute"]
    assert base.isComposite()
    g = _g_l_y_f.Glyph()
    g.numberOfContours = -1
    g.components = []
    for name, dx in (("Aacute", 0), ("period", 1400)):
        c = _g_l_y_f.GlyphComponent()
        c.glyphName, c.x, c.y, c.flags = name, dx, 0, 0
        g.components.append(c)
    order = f.getGlyphOrder() + ["compcomp"]
    glyf.glyphs["compcomp"] = g
    glyf.glyphOrder = order
    f.setGlyphOrder(order)
    f["hmtx"].metrics["compcomp"] = (1900, 0)
    f["maxp"].numGlyphs = len(order)
    f["post"].formatType = 3.0
    sub = cmap_format_0(0)
    sub.platformID, sub.platEncID, sub.language = 3, 1, 0
    sub.cmap = {ord("A"): "A", ord("B"): "B"}
    f["cmap"].tables = [sub]
    f.save(out)


def format12(out):
    f = TTFont(LIB % "Regular")
    sub = CmapSubtable.newSubtable(12)
    sub.platformID, sub.platEncID, sub.language = 3, 1, 0
    sub.cmap = {ord("A"): "A", ord("B"): "B"}
    f["cmap"].tables = [sub]
    f.save(out)


def write_sfnt(out, tables, order):
    """An sfnt with the tables' data laid out in the given order."""
    n = len(tables)
    es = max(i for i in range(16) if (1 << i) <= n)
    sr = (1 << es) * 16
    head = struct.pack(">IHHHH", 0x00010000, n, sr, es, n * 16 - sr)
    pos = 12 + 16 * n
    records, body = {}, b""
    for tag in order:
        data = tables[tag]
        if tag == "head":
            data = data[:8] + b"\0\0\0\0" + data[12:]
        padded = data + b"\0" * (-len(data) % 4)
        s = sum(struct.unpack(">%dI" % (len(padded) // 4), padded)) & 0xFFFFFFFF
        records[tag] = struct.pack(">4sIII", tag.encode("latin-1"), s, pos, len(data))
        body += padded
        pos += len(padded)
    font = head + b"".join(records[t] for t in sorted(records)) + body
    total = sum(struct.unpack(">%dI" % (len(font) // 4), font)) & 0xFFFFFFFF
    at = font.index(b"\x5f\x0f\x3c\xf5") - 4   # head's checkSumAdjustment before its magic
    font = font[:at] + struct.pack(">I", (0xB1B0AFBA - total) & 0xFFFFFFFF) + font[at + 4:]
    open(out, "wb").write(font)


def shortos2(out):
    f = TTFont(LIB % "Regular")
    tables = {t: f.reader[t] for t in f.reader.keys()}
    os2 = bytearray(tables["OS/2"][:78])
    os2[0:2] = b"\0\0"
    tables["OS/2"] = bytes(os2)
    order = [t for t in sorted(tables, key=lambda t: f.reader.tables[t].offset) if t != "OS/2"] + ["OS/2"]
    write_sfnt(out, tables, order)


if __name__ == "__main__":
    folder = sys.argv[1]
    collection(folder + "/collection.ttc")
    composite(folder + "/composite.ttf")
    format12(folder + "/format12.ttf")
    shortos2(folder + "/shortos2.ttf")
