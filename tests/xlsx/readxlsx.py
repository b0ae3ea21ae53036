# Prints a workbook as openpyxl reads it, as JSON: per sheet its cells (value, type, number
# format, fill colour, alignment), its last row, merged ranges and row breaks; the creator; the package's
# media extensions and Default content types.
import json, sys, zipfile
import openpyxl

path = sys.argv[1]
wb = openpyxl.load_workbook(path)
out = {"creator": wb.properties.creator, "sheets": []}
for ws in wb.worksheets:
    cells = {}
    for row in ws.iter_rows():
        for c in row:
            if c.value is None:
                continue
            fill = c.fill.fgColor
            color = None
            if fill is not None and fill.type == "indexed":
                colors = wb._colors
                color = colors[fill.indexed] if colors and fill.indexed < len(colors) else None
            a = c.alignment
            cells[c.coordinate] = {
                "value": c.value if not isinstance(c.value, float) or not c.value.is_integer() else c.value,
                "type": c.data_type, "format": c.number_format, "fill": color,
                "h": a.horizontal, "v": a.vertical, "rot": a.textRotation}
    out["sheets"].append({
        "name": ws.title, "cells": cells, "rows": ws.max_row,
        "merged": sorted(str(r) for r in ws.merged_cells.ranges),
        "breaks": [b.id for b in ws.row_breaks.brk]})
z = zipfile.ZipFile(path)
import xml.etree.ElementTree as ET
types = ET.fromstring(z.read("[Content_Types].xml"))
ns = "{http://schemas.openxmlformats.org/package/2006/content-types}"
out["defaults"] = sorted(d.get("Extension") for d in types.findall(ns + "Default"))
out["media"] = sorted(n.rsplit(".", 1)[1] for n in z.namelist() if n.startswith("xl/media/"))
print(json.dumps(out))
