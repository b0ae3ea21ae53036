#!/usr/bin/env python3
"""Writes export/pdf/resources/srgbprofile.cpp: a version-2 ICC display profile of sRGB
made from the IEC 61966-2.1 primaries, D65 white point and transfer curve, with the
colorants adapted to the D50 connection space by the Bradford transform.

Run from the repository root: tools/make_srgb_profile.py"""
import struct

PRIMARIES = [(0.64, 0.33), (0.30, 0.60), (0.15, 0.06)]
WHITE = (0.3127, 0.3290)
D50 = (0.9642, 1.0, 0.8249)
CURVE_POINTS = 1024


def xyz(x, y):
    return (x / y, 1.0, (1 - x - y) / y)


def inverse(m):
    a, b, c = m[0]
    d, e, f = m[1]
    g, h, i = m[2]
    det = a * (e * i - f * h) - b * (d * i - f * g) + c * (d * h - e * g)
    return [[(e * i - f * h) / det, (c * h - b * i) / det, (b * f - c * e) / det],
            [(f * g - d * i) / det, (a * i - c * g) / det, (c * d - a * f) / det],
            [(d * h - e * g) / det, (b * g - a * h) / det, (a * e - b * d) / det]]


def mul(m, v):
    return [sum(m[r][k] * v[k] for k in range(3)) for r in range(3)]


def matmul(a, b):
    return [[sum(a[r][k] * b[k][c] for k in range(3)) for c in range(3)] for r in range(3)]


def colorants():
    # Columns: the XYZ of each primary, scaled so that they add up to the white point.
    cols = [xyz(*p) for p in PRIMARIES]
    m = [[cols[c][r] for c in range(3)] for r in range(3)]
    s = mul(inverse(m), xyz(*WHITE))
    rgb_to_xyz = [[m[r][c] * s[c] for c in range(3)] for r in range(3)]
    bradford = [[0.8951, 0.2664, -0.1614], [-0.7502, 1.7135, 0.0367], [0.0389, -0.0685, 1.0296]]
    src, dst = mul(bradford, xyz(*WHITE)), mul(bradford, D50)
    scale = [[dst[i] / src[i] if i == j else 0.0 for j in range(3)] for i in range(3)]
    adapt = matmul(inverse(bradford), matmul(scale, bradford))
    adapted = matmul(adapt, rgb_to_xyz)
    return [[adapted[r][c] for r in range(3)] for c in range(3)]


def s15(v):
    return struct.pack(">i", int(round(v * 65536)))


def xyz_tag(v):
    return b"XYZ " + bytes(4) + b"".join(s15(c) for c in v)


def curve_tag():
    def srgb(v):
        return v / 12.92 if v <= 0.04045 else ((v + 0.055) / 1.055) ** 2.4
    points = [int(round(srgb(i / (CURVE_POINTS - 1)) * 65535)) for i in range(CURVE_POINTS)]
    return b"curv" + bytes(4) + struct.pack(">I", CURVE_POINTS) + struct.pack(">%dH" % CURVE_POINTS, *points)


def desc_tag(text):
    a = text.encode("ascii") + b"\0"
    return b"desc" + bytes(4) + struct.pack(">I", len(a)) + a + bytes(4) + bytes(4) + bytes(2) + bytes(1) + bytes(67)


def text_tag(text):
    return b"text" + bytes(4) + text.encode("ascii") + b"\0"


def profile():
    red, green, blue = colorants()
    curve = curve_tag()
    tags = [(b"desc", desc_tag("sRGB IEC61966-2.1")),
            (b"cprt", text_tag("No copyright, use freely")),
            (b"wtpt", xyz_tag(xyz(*WHITE))),
            (b"rXYZ", xyz_tag(red)), (b"gXYZ", xyz_tag(green)), (b"bXYZ", xyz_tag(blue)),
            (b"rTRC", curve), (b"gTRC", curve), (b"bTRC", curve)]
    table_size = 4 + 12 * len(tags)
    offset = 128 + table_size
    entries, data, placed = [], b"", {}
    for sig, body in tags:
        if body in placed:   # the three curves share one copy
            at = placed[body]
        else:
            data += bytes((-len(data) - offset) % 4)
            at = offset + len(data)
            placed[body] = at
            data += body
        entries.append(struct.pack(">4sII", sig, at, len(body)))
    data += bytes((-len(data)) % 4)
    size = offset + len(data)
    header = struct.pack(">I4sI4s4s4s6H4s4sIIIQI", size, b"\0\0\0\0", 0x02100000, b"mntr", b"RGB ", b"XYZ ",
                         2026, 1, 1, 0, 0, 0, b"acsp", b"\0\0\0\0", 0, 0, 0, 0, 0)
    header += b"".join(s15(c) for c in D50) + bytes(4)
    header += bytes(128 - len(header))
    return header + struct.pack(">I", len(tags)) + b"".join(entries) + data


def main():
    data = profile()
    lines = []
    for i in range(0, len(data), 16):
        lines.append("    " + ", ".join("0x%02X" % b for b in data[i:i + 16]) + ",")
    body = "\n".join(lines)
    with open("export/pdf/resources/srgbprofile.cpp", "w") as f:
        f.write("// Made by tools/make_srgb_profile.py: do not edit.\n"
                "#include \"export/pdf/resources/pdfresources.h\"\n\n"
                "namespace {\nconst unsigned char kProfile[%d] = {\n%s\n};\n} // namespace\n\n"
                "QByteArray pdf::resources::SRGBProfile()\n{\n"
                "    return QByteArray::fromRawData(reinterpret_cast<const char *>(kProfile), sizeof kProfile);\n}\n"
                % (len(data), body))


if __name__ == "__main__":
    main()
