#!/usr/bin/python3
"""Checks a subset against its source font with fontTools.

usage: check_subset.py SOURCE FACE SUBSET GLYPHS
GLYPHS: comma-separated glyph ids handed to the packer. Prints a JSON object with the
expected kept glyphs and their widths (advance * 1000 // unitsPerEm); exits 1 with the
reasons when the subset is wrong.
"""
import json
import struct
import sys
from fontTools.ttLib import TTFont

DROPPED = {"EBLC", "EBDT", "hdmx", "VDMX", "DSIG"}
faults = []


def check(cond, text):
    if not cond:
        faults.append(text)


def glyph_bytes(font):
    loca = font["loca"]
    data = font.reader["glyf"]
    return [data[loca[i]:loca[i + 1]] for i in range(len(loca) - 1)], loca, data


src_path, face, sub_path, ids = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4]
src = TTFont(src_path, fontNumber=face, lazy=True)
sub = TTFont(sub_path, checkChecksums=2, lazy=True)
for tag in sub.reader.keys():
    sub.reader[tag]  # verifies the table's checksum

raw = open(sub_path, "rb").read()
check(len(raw) % 4 == 0, "length not a multiple of 4")
check(sum(struct.unpack(">%dI" % (len(raw) // 4), raw)) & 0xFFFFFFFF == 0xB1B0AFBA, "whole-font checksum")
n = struct.unpack(">H", raw[4:6])[0]
es = max(i for i in range(16) if (1 << i) <= n)
check(struct.unpack(">HHH", raw[6:12]) == ((1 << es) * 16, es, n * 16 - (1 << es) * 16), "search fields")
tags = [raw[12 + 16 * i:16 + 16 * i] for i in range(n)]
check(tags == sorted(tags), "records not in tag order")
check(set(sub.reader.keys()) == set(src.reader.keys()) - DROPPED, "tables kept: %s" % sorted(sub.reader.keys()))
check(sub["post"].formatType == 3.0, "post not 3.0")

order = src.getGlyphOrder()
glyf = src["glyf"]
keep = set()


def add(gid, depth=0):
    if gid in keep or depth > 32:
        return
    keep.add(gid)
    g = glyf[order[gid]]
    if g.isComposite():
        for c in g.components:
            add(src.getGlyphID(c.glyphName), depth + 1)


for v in ids.split(",") if ids else []:
    if int(v) < len(order):
        add(int(v))

src_glyphs, _, _ = glyph_bytes(src)
sub_glyphs, loca, data = glyph_bytes(sub)
check(len(sub_glyphs) == len(src_glyphs), "glyph count")
check(loca[-1] == len(data) == sum(len(src_glyphs[g]) for g in keep), "loca and glyf disagree")
for gid in range(min(len(src_glyphs), len(sub_glyphs))):
    want = src_glyphs[gid] if gid in keep else b""
    if sub_glyphs[gid] != want:
        check(False, "glyph %d differs" % gid)
        break

upem = src["head"].unitsPerEm
widths = {str(g): src["hmtx"][order[g]][0] * 1000 // upem for g in sorted(keep)}
if faults:
    print("\n".join(faults))
    sys.exit(1)
print(json.dumps({"kept": sorted(keep), "widths": widths}))
