"""Reads shapefile sets back with third-party readers and compares them with
the expectations a test wrote as JSON.

Usage: /usr/bin/python3 readback.py EXPECTATIONS.json
Prints one line per fault and exits 1 when there is any.

Expectations: {"sets": [{"base": path without extension, "type": 1|3|5,
"cpg": bool, "fields": [{"name", "type", "length", "decimals"}],
"shapes": [...], "rows": [[text or null, ...], ...]}]}. A shape is
{"kind": "point"|"line"|"polygon"|"arc"|"circle", "points": [[x, y], ...]}:
points and lines exactly, polygons exactly in either order, arcs and circles
as a trace on the circle through their three points (an arc from its first
point to its third).
"""
import json
import math
import os
import re
import struct
import subprocess
import sys

import shapefile
from dbfread import DBF, FieldParser
from osgeo import ogr

ogr.UseExceptions()
faults = []


def fault(where, text):
    faults.append(f"{where}: {text}")


class ZeroPaddedFieldParser(FieldParser):
    """The table pads numeric fields with zero bytes, which dbfread's stock
    parser refuses; strip them first. A text that is no number stays text."""

    def parseN(self, field, data):
        data = data.rstrip(b"\0")
        try:
            return super().parseN(field, data)
        except ValueError:
            return self.decode_text(data)

    def parseF(self, field, data):
        data = data.rstrip(b"\0")
        try:
            return super().parseF(field, data)
        except ValueError:
            return self.decode_text(data)


def ring_area(points):
    o = points[0]
    s = 0.0
    for a, b in zip(points[1:], points[2:]):
        s += (a[0] - o[0]) * (b[1] - o[1]) - (b[0] - o[0]) * (a[1] - o[1])
    return s / 2


def circumcircle(a, b, c):
    bx, by, qx, qy = b[0] - a[0], b[1] - a[1], c[0] - a[0], c[1] - a[1]
    d = 2 * (bx * qy - by * qx)
    ux = (qy * (bx * bx + by * by) - by * (qx * qx + qy * qy)) / d
    uy = (bx * (qx * qx + qy * qy) - qx * (bx * bx + by * by)) / d
    return (a[0] + ux, a[1] + uy), math.hypot(ux, uy)


def same_points(got, want):
    return len(got) == len(want) and all(g[0] == w[0] and g[1] == w[1] for g, w in zip(got, want))


def check_shape(where, shape, want, set_type):
    if shape.shapeType != set_type:
        fault(where, f"shape type {shape.shapeType}, expected {set_type}")
    pts = [tuple(p) for p in shape.points]
    kind = want["kind"]
    if kind == "point":
        if not same_points(pts, want["points"]):
            fault(where, f"point {pts} != {want['points']}")
        return
    if list(shape.parts) != [0]:
        fault(where, f"parts {list(shape.parts)}, expected [0]")
    if kind == "line":
        if not same_points(pts, want["points"]):
            fault(where, f"points {pts} != {want['points']}")
    elif kind == "polygon":
        if not (same_points(pts, want["points"]) or same_points(pts, want["points"][::-1])):
            fault(where, f"ring {pts} is not {want['points']} either way round")
    elif kind in ("arc", "circle"):
        (cx, cy), r = circumcircle(*want["points"][:3])
        for p in pts:
            if abs(math.hypot(p[0] - cx, p[1] - cy) - r) > 1e-6 * max(1.0, r):
                fault(where, f"trace point {p} is off the circle")
                break
        if kind == "arc":
            first, last = tuple(want["points"][0]), tuple(want["points"][2])
            if tuple(pts[0]) != first or tuple(pts[-1]) != last:
                fault(where, f"arc runs {pts[0]}..{pts[-1]}, expected {first}..{last}")
        elif pts[0] != pts[-1] or len(pts) < 4:
            fault(where, "circle ring is not closed")
    if set_type == 5 and len(pts) >= 4 and ring_area(pts) > 0:
        fault(where, "ring runs counter-clockwise")


def number_or_text(text):
    try:
        return int(text)
    except ValueError:
        try:
            return float(text.replace(",", "."))
        except ValueError:
            return text


def check_structure(s, base, n):
    shp, shx, dbf = (open(base + ext, "rb").read() for ext in (".SHP", ".SHX", ".DBF"))
    for name, data in (("SHP", shp), ("SHX", shx)):
        code, = struct.unpack(">i", data[0:4])
        words, = struct.unpack(">i", data[24:28])
        version, stype = struct.unpack("<ii", data[28:36])
        if code != 9994 or version != 1000 or stype != s["type"]:
            fault(base + "." + name, f"header code {code} version {version} type {stype}")
        if words * 2 != len(data):
            fault(base + "." + name, f"header length {words} words, file {len(data)} bytes")
    if len(shx) != 100 + 8 * n:
        fault(base + ".SHX", f"{(len(shx) - 100) / 8} entries, expected {n}")
    pos = 100
    for k in range(n):
        off, length = struct.unpack(">ii", shx[100 + 8 * k: 108 + 8 * k])
        number, rlength = struct.unpack(">ii", shp[pos: pos + 8])
        if off * 2 != pos or number != k + 1 or length != rlength:
            fault(base, f"record {k + 1}: index ({off}, {length}), main at {pos // 2} ({number}, {rlength})")
            break
        pos += 8 + 2 * rlength
    if pos != len(shp):
        fault(base + ".SHP", f"records end at {pos}, file has {len(shp)} bytes")
    records, header, reclen = struct.unpack("<IHH", dbf[4:12])
    if records != n:
        fault(base + ".DBF", f"{records} records, expected {n}")
    if header + records * reclen + 1 != len(dbf) or dbf[-1:] != b"\x1a":
        fault(base + ".DBF", f"header {header} + {records} x {reclen} + 0x1A != {len(dbf)} bytes")


def check_set(s):
    base = s["base"]
    n = len(s["shapes"])
    for ext in (".SHP", ".SHX", ".DBF"):
        if not os.path.exists(base + ext):
            fault(base + ext, "missing")
            return
    if os.path.exists(base + ".CPG") != s["cpg"]:
        fault(base + ".CPG", "present" if not s["cpg"] else "missing")
    elif s["cpg"] and open(base + ".CPG", "rb").read() != b"1251":
        fault(base + ".CPG", "does not hold 1251")
    check_structure(s, base, n)

    # pyshp: shapes and records.
    with open(base + ".SHP", "rb") as shp, open(base + ".SHX", "rb") as shx, open(base + ".DBF", "rb") as dbf:
        r = shapefile.Reader(shp=shp, shx=shx, dbf=dbf, encoding="cp1251")
        if r.shapeType != s["type"]:
            fault(base, f"pyshp: shape type {r.shapeType}")
        if len(r) != n:
            fault(base, f"pyshp: {len(r)} records, expected {n}")
        for k, (shape, want) in enumerate(zip(r.shapes(), s["shapes"])):
            check_shape(f"{base} pyshp shape {k + 1}", shape, want, s["type"])
        names = [f[0] for f in r.fields[1:]]
        if names != [f["name"] for f in s["fields"]]:
            fault(base, f"pyshp: fields {names}")

    # dbfread: field table and values decoded as 1251.
    table = DBF(base + ".DBF", encoding="cp1251", parserclass=ZeroPaddedFieldParser, char_decode_errors="strict")
    got = [(f.name, f.type, f.length, f.decimal_count) for f in table.fields]
    want = [(f["name"], f["type"], f["length"], f["decimals"]) for f in s["fields"]]
    if got != want:
        fault(base + ".DBF", f"dbfread fields {got} != {want}")
    rows = list(table)
    if len(rows) != n:
        fault(base + ".DBF", f"dbfread: {len(rows)} rows, expected {n}")
    for k, (row, want_row) in enumerate(zip(rows, s["rows"])):
        values = list(row.values())
        for f, v, w in zip(s["fields"], values, want_row):
            if f["type"] == "C":
                expected = (w or "").rstrip(" ")  # readers drop trailing blanks
            else:
                expected = number_or_text(w) if w else None
            if v != expected:
                fault(f"{base}.DBF row {k + 1}", f"{f['name']}: {v!r} != {expected!r}")

    # GDAL: opens the set, counts the features, and (thanks to the .CPG)
    # decodes names and texts from 1251.
    ds = ogr.Open(base + ".SHP")
    layer = ds.GetLayer(0)
    if layer.GetFeatureCount() != n:
        fault(base, f"GDAL: {layer.GetFeatureCount()} features, expected {n}")
    defn = layer.GetLayerDefn()
    try:
        gnames = [defn.GetFieldDefn(i).GetName() for i in range(defn.GetFieldCount())]
    except UnicodeDecodeError:
        gnames = None  # GDAL handed over the 1251 bytes undecoded
    wnames = [f["name"] for f in s["fields"]]
    if s["cpg"] and gnames != wnames:
        fault(base, f"GDAL: fields {gnames}")
    if not s["cpg"] and not all(n.isascii() for n in wnames) and gnames == wnames:
        fault(base, "GDAL read Cyrillic names right without a .CPG: the test proves nothing")
    if s["cpg"]:
        for k, (feature, want_row) in enumerate(zip(layer, s["rows"])):
            for i, (f, w) in enumerate(zip(s["fields"], want_row)):
                if f["type"] == "C" and feature.GetFieldAsString(i) != (w or "").rstrip(" "):
                    fault(f"{base} GDAL feature {k + 1}", f"{f['name']}: {feature.GetFieldAsString(i)!r} != {w!r}")
    ds = None
    info = subprocess.run(["ogrinfo", "-ro", "-so", "-al", base + ".SHP"], capture_output=True, text=True, errors="replace")
    if info.returncode != 0 or f"Feature Count: {n}" not in info.stdout:
        fault(base, f"ogrinfo: {info.returncode} {info.stderr.strip()}")

    if s["type"] == 5:
        dump = subprocess.run(["shpdump", "-validate", base + ".SHP"], capture_output=True, text=True, errors="replace")
        invalid = re.search(r"(\d+) objects? ha(?:s|ve) invalid ring", dump.stdout)
        if dump.returncode != 0 or "wrong direction" in dump.stdout or not invalid or invalid.group(1) != "0":
            fault(base, "shpdump -validate: " + dump.stdout[-300:])


def main():
    expectations = json.load(open(sys.argv[1], encoding="utf-8"))
    for s in expectations["sets"]:
        try:
            check_set(s)
        except Exception as e:  # a reader that refuses a file is a fault, not a crash
            fault(s["base"], f"{type(e).__name__}: {e}")
    for f in faults:
        print(f)
    print(f"{len(expectations['sets'])} sets checked, {len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
