# Prints a word-processing package as python-docx and zipfile read it, as JSON: the body's
# order of tables and section paragraphs, the sections, per table its grid and rows of cells
# (grid start, span, vertical merge, fill, borders, text direction, vertical alignment, runs),
# the core properties, picture ids, media extensions, Default content types, and every colour
# value that is not six hexadecimal digits or "auto".
import json, re, sys, zipfile
import docx
from docx.oxml.ns import qn

path = sys.argv[1]
d = docx.Document(path)
W = lambda tag: qn("w:" + tag)
color_re = re.compile(r"^([0-9A-Fa-f]{6}|auto)$")
bad_colors = []


def val(el, tag, attr="val"):
    if el is None:
        return None
    c = el.find(W(tag))
    return None if c is None else c.get(W(attr))


def check_color(v):
    if v is not None and not color_re.match(v):
        bad_colors.append(v)


out = {"body": [], "tables": [], "sections": []}
for child in d.element.body.iterchildren():
    if child.tag == W("tbl"):
        out["body"].append("tbl")
    elif child.tag == W("p"):
        ppr = child.find(W("pPr"))
        out["body"].append("sect" if ppr is not None and ppr.find(W("sectPr")) is not None else "p")
    elif child.tag == W("sectPr"):
        out["body"].append("final")

for s in d.sections:
    out["sections"].append({"w": s.page_width.twips if s.page_width else None,
                            "h": s.page_height.twips if s.page_height else None,
                            "landscape": s.orientation == docx.enum.section.WD_ORIENT.LANDSCAPE,
                            "top": s.top_margin.twips if s.top_margin is not None else None})

for t in d.tables:
    grid = [int(g.get(W("w"))) for g in t._tbl.tblGrid.findall(W("gridCol"))]
    rows = []
    for tr in t._tbl.tr_lst:
        trh = tr.find(W("trPr")).find(W("trHeight"))
        cells = []
        col = 0
        for tc in tr.tc_lst:
            pr = tc.find(W("tcPr"))
            span = int(val(pr, "gridSpan") or 1)
            vm = pr.find(W("vMerge"))
            shd = pr.find(W("shd"))
            fill = None if shd is None else shd.get(W("fill"))
            check_color(fill)
            borders = {}
            b = pr.find(W("tcBorders"))
            if b is not None:
                for side in b.iterchildren():
                    check_color(side.get(W("color")))
                    borders[side.tag.split("}")[1]] = side.get(W("val"))
            order = [c.tag.split("}")[1] for c in pr.iterchildren()]
            runs = []
            for p in tc.findall(W("p")):
                for r in p.findall(W("r")):
                    rpr = r.find(W("rPr"))
                    check_color(val(rpr, "color"))
                    runs.append({
                        "text": "".join(((x.text or "") if x.tag == W("t") else "\t") for x in r
                                        if x.tag in (W("t"), W("tab"))),
                        "br": r.find(W("br")) is not None,
                        "bold": rpr is not None and rpr.find(W("b")) is not None,
                        "boldCs": rpr is not None and rpr.find(W("bCs")) is not None,
                        "italic": rpr is not None and rpr.find(W("i")) is not None,
                        "font": val(rpr, "rFonts", "ascii"),
                        "color": val(rpr, "color"),
                        "picture": r.find(W("drawing")) is not None})
            cells.append({"col": col, "span": span,
                          "vmerge": None if vm is None else (vm.get(W("val")) or "continue"),
                          "fill": fill, "borders": borders, "dir": val(pr, "textDirection"),
                          "valign": val(pr, "vAlign"), "order": order, "runs": runs})
            col += span
        rows.append({"height": int(trh.get(W("val"))), "rule": trh.get(W("hRule")), "cells": cells})
    out["tables"].append({"grid": grid, "rows": rows})

# python-docx refuses a colour that is not a valid value when it reads it.
for t in d.tables:
    for row in t.rows:
        for cell in row.cells:
            for para in cell.paragraphs:
                for run in para.runs:
                    run.font.color.rgb if run.font.color.type is not None else None

out["creator"] = d.core_properties.author
out["docPr"] = [int(x.get("id")) for x in d.element.body.iter(qn("wp:docPr"))]
out["pictures"] = len(d.inline_shapes)
z = zipfile.ZipFile(path)
import xml.etree.ElementTree as ET
types = ET.fromstring(z.read("[Content_Types].xml"))
ns = "{http://schemas.openxmlformats.org/package/2006/content-types}"
out["defaults"] = sorted(x.get("Extension") for x in types.findall(ns + "Default"))
out["media"] = sorted(n.rsplit(".", 1)[1] for n in z.namelist() if n.startswith("word/media/"))
out["names"] = sorted(z.namelist())
out["badColors"] = bad_colors
print(json.dumps(out))
