#!/usr/bin/python3
"""Reads the DXF files of `tlxexport dxf` back with ezdxf and GDAL.

Usage: dxf_readback.py TLXEXPORT SAMPLES_DIR WORK_DIR

Every sample and generated surveys with every feature kind are exported with
and without attributes and with and without the code page declaration; the
files must read without errors, with the entity counts, blocks, layers,
arcs, names and extents that the surveys call for.
"""
import math
import os
import subprocess
import sys
from collections import Counter

import ezdxf
from osgeo import gdal, ogr

gdal.UseExceptions()
# One feature per block entity, so that counts can be compared.
gdal.SetConfigOption("DXF_MERGE_BLOCK_GEOMETRIES", "FALSE")

FAILURES = []


def check(condition, message):
    if not condition:
        FAILURES.append(message)
        print("FAIL:", message)


# ---------------------------------------------------------------- .tlx text

def put(line, column, text):
    line = line.ljust(column)
    return line[:column] + text + line[column + len(text):]


def num(n, width=8):
    return str(n).rjust(width)


class Survey:
    """A .tlx file and what its DXF must hold, built side by side."""

    def __init__(self):
        self.points = {}      # number -> (name, ref, X north, Y east, H)
        self.layers = []      # (number, name)
        self.codes = []       # (number, layer, code, name)
        self.styles = []      # (code, text)
        self.props = []       # (code, number, name, type)
        self.features = []    # lines of the FEATURES section
        self.data = []        # (feature, property, value)
        self.expected = Counter()  # entity type -> count in ENTITIES, without attributes
        self.arcs = []        # the three drawing points of every arc

    def point(self, n, name, x, y, h, ref=0):
        self.points[n] = (name, ref, x, y, h)
        # Every survey point is a point feature with two labels.
        self.expected["POINT"] += 1
        self.expected["TEXT"] += 2

    def drawing(self, n):
        _, _, x, y, _ = self.points[n]
        return (float(y), float(x))

    def head(self, n, word, code, a="", b="", c=""):
        line = put(put(put("", 0, num(n)), 9, word), 26, num(code))
        for column, text in ((35, a), (44, b), (53, c)):
            if text:
                line = put(line, column, text)
        self.features.append(line)

    def vertices(self, numbers):
        self.features.extend(num(p) for p in numbers)

    def text(self):
        out = ["* generated for the DXF read-back", "BEGIN POINTS"]
        for n, (name, ref, x, y, h) in self.points.items():
            line = put(put("", 0, num(n)), 9, name)
            if ref:
                line = put(line, 26, num(ref))
            line = put(put(put(line, 35, x), 52, y), 69, h)
            out.append(line)
        out += ["END POINTS", "BEGIN LAYERS"]
        out += [put(put(put("", 0, num(n)), 9, num(0)), 18, name) for n, name in self.layers]
        out += ["END LAYERS", "BEGIN FEATURE_CODES"]
        out += [put(put(put(put("", 0, num(n)), 9, num(l)), 18, c), 27, name) for n, l, c, name in self.codes]
        out += ["END FEATURE_CODES", "BEGIN FEATURE_ATTRIBUTES"]
        out += [put(put("", 0, num(c)), 9, s) for c, s in self.styles]
        out += ["END FEATURE_ATTRIBUTES", "BEGIN FEATURE_PROPERTIES"]
        out += [put(put(put(put("", 0, num(c)), 9, num(n, 4)), 14, name), 31, t) for c, n, name, t in self.props]
        out += ["END FEATURE_PROPERTIES", "BEGIN FEATURES"] + self.features + ["END FEATURES"]
        out += ["BEGIN FEATURE_DATA"]
        out += [put(put(put("", 0, num(f)), 9, num(p, 4)), 14, v) for f, p, v in self.data]
        out += ["END FEATURE_DATA"]
        return ("\r\n".join(out) + "\r\n").encode("cp1251")


def every_kind():
    s = Survey()
    s.point(1, "Репер1", "5000.000", "3000.000", "120.500")
    s.point(2, "ST2", "5100.000", "3100.000", "121.000")
    for i in range(10, 30):
        angle = i * 0.7
        s.point(i, str(i), "%.3f" % (5050 + 40 * math.cos(angle)), "%.3f" % (3050 + 40 * math.sin(angle)),
                "%.2f" % (120 + i / 10), ref=1)
    s.layers = [(1, "Дороги"), (2, "Road/1 (old)"), (3, "Names"), (4, "Names0"), (5, "Сети"), (6, "ROADS"),
                (7, "roads")]
    s.codes = [(10, 1, "ДОР", "Дорога"), (11, 2, "R1", "Road old"), (12, 3, "N", "Tree"), (13, 4, "N0", "Kerb"),
               (14, 5, "WELL", "Колодец"), (15, 6, "RR", "Complex"), (16, 7, "rr", "Lane")]
    s.styles = [(10, "/Pen(3,2,255)"), (11, "/Pen(0,1,0) /Brush(2,8421504,16777215)"),
                (12, '/Symbol(35,"MapInfo Symbols",0,0,12,32768)'),
                (14, '/Symbol(10,"MapInfo Symbols",0,0,10,255) /Pen(15,2,16711680)'), (16, "/Pen(20,1,0)")]
    s.props = [(10, 1, "Покрытие", "Char(16)"), (10, 2, "Ширина", "Decimal(6,2)"), (14, 1, "Глубина", "Float")]
    s.head(100, "LINE", 10, "10", "11"); s.expected["LINE"] += 1
    s.head(101, "POLYLINE", 10, "4"); s.vertices([12, 13, 14, 15]); s.expected["POLYLINE"] += 1
    s.head(102, "POLYGON", 11, "4"); s.vertices([16, 17, 18, 16]); s.expected["POLYLINE"] += 1
    s.head(103, "POINT", 12, "19"); s.expected["POINT"] += 1; s.expected["TEXT"] += 1
    for n, pts in ((104, (10, 11, 12)), (105, (12, 11, 10))):  # both turning directions
        s.head(n, "ARC", 13, *map(str, pts)); s.expected["ARC"] += 1; s.arcs.append([s.drawing(p) for p in pts])
    s.head(106, "CIRC0", 14, "20", "2.5"); s.head(107, "CIRC1", 14, "21", "22")
    s.head(108, "CIRC2", 14, "23", "24"); s.head(109, "CIRC3", 14, "25", "26", "27")
    s.expected["CIRCLE"] += 4
    s.head(110, "POINT", 14, "28"); s.expected["POINT"] += 1; s.expected["TEXT"] += 1
    # A multiple whose last part is a multiple, whose last part is one again.
    s.head(111, "MULTIPLE", 15, "2")
    s.head(111, "LINE", 15, "10", "20"); s.expected["LINE"] += 1
    s.head(111, "MULTIPLE", 15, "3")
    s.head(111, "ARC", 15, "13", "14", "15"); s.expected["ARC"] += 1
    s.arcs.append([s.drawing(p) for p in (13, 14, 15)])
    s.head(111, "POLYGON", 15, "4"); s.vertices([20, 21, 22, 20]); s.expected["POLYLINE"] += 1
    s.head(111, "MULTIPLE", 15, "1")
    s.head(111, "CIRC3", 15, "23", "24", "25"); s.expected["CIRCLE"] += 1
    s.head(112, "LINE", 16, "28", "29"); s.expected["LINE"] += 1
    s.data = [(100, 1, "Асфальт"), (100, 2, "7.50"), (101, 1, "Щебень"), (106, 1, "2.35")]
    return s


def far_circle():
    s = Survey()
    s.point(1, "A", "473100.000", "2194500.000", "150.000")
    s.point(2, "B", "473200.000", "2194600.000", "151.000")
    s.layers = [(1, "Wells")]
    s.codes = [(40, 1, "W", "Well")]
    s.head(10, "CIRC0", 40, "1", "0.75"); s.expected["CIRCLE"] += 1
    return s


# ---------------------------------------------------------------- checks

def run(cli, tlx, dxf, *options):
    result = subprocess.run([cli, "dxf", tlx, dxf, *options], capture_output=True, text=True)
    check(result.returncode == 0, "%s %s: exit %d (%s)" % (tlx, " ".join(options), result.returncode,
                                                           result.stderr.strip()))


def raw_entity_counts(path):
    """Group-0 names of the ENTITIES section, read as plain text."""
    with open(path, "rb") as f:
        lines = f.read().split(b"\r\n")
    counts, inside = Counter(), False
    for code, value in zip(lines[0::2], lines[1::2]):
        code = int(code)
        if code == 2 and value == b"ENTITIES":
            inside = True
        elif inside and code == 0:
            if value == b"ENDSEC":
                break
            counts[value.decode("ascii")] += 1
    return counts


def read_ezdxf(path):
    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    check(not auditor.errors, "%s: ezdxf audit errors %s" % (path, [e.message for e in auditor.errors]))
    # ezdxf 0.18 re-creates the SEQEND of every polyline inside a block,
    # even in the R12 files it writes itself; any other fix is a fault.
    other = [f.message for f in auditor.fixes if not f.message.startswith("Deleted SEQEND")]
    check(not other, "%s: ezdxf had to fix %s" % (path, other))
    return doc


def check_file(path, expected=None, attributes=True):
    doc = read_ezdxf(path)
    msp = doc.modelspace()
    ez = Counter(e.dxftype() for e in msp)
    raw = raw_entity_counts(path)
    # VERTEX, SEQEND and ATTRIB belong to their POLYLINE or INSERT.
    for kind in ("VERTEX", "SEQEND", "ATTRIB"):
        raw.pop(kind, None)
    check(ez == raw, "%s: ezdxf reads %s, the file holds %s" % (path, dict(ez), dict(raw)))
    if expected is not None:
        want = Counter(expected)
        if attributes:
            want["INSERT"] = ez["INSERT"]
        check(+ez == +want, "%s: entities %s, expected %s" % (path, dict(ez), dict(want)))
    check(("INSERT" in ez) == attributes, "%s: inserts %s with attributes %s" % (path, ez["INSERT"], attributes))

    layers = {layer.dxf.name for layer in doc.layers}
    for insert in msp.query("INSERT"):
        check(insert.dxf.name in doc.blocks, "%s: INSERT of a missing block %s" % (path, insert.dxf.name))
    for entity in msp:
        check(entity.dxf.layer in layers, "%s: %s on a layer %r missing from the table" % (
            path, entity.dxftype(), entity.dxf.layer))
    for block in doc.blocks:
        if block.name.startswith("BLCK"):
            for entity in block:
                check(entity.dxf.layer in layers, "%s: block %s: layer %r missing" % (path, block.name,
                                                                                  entity.dxf.layer))

    # GDAL: one feature per entity, per block entity of every insert and per attribute.
    ds = ogr.Open(path)
    check(ds is not None, "%s: GDAL cannot open it" % path)
    layer = ds.GetLayer(0)
    geometry = sum(n for kind, n in ez.items() if kind != "INSERT")
    inserted = sum(len([e for e in doc.blocks[i.dxf.name] if e.dxftype() != "ATTDEF"]) for i in msp.query("INSERT"))
    attribs = sum(len(i.attribs) for i in msp.query("INSERT"))
    check(layer.GetFeatureCount() == geometry + inserted + attribs,
          "%s: GDAL reads %d features, expected %d" % (path, layer.GetFeatureCount(), geometry + inserted + attribs))
    gdal_layers = {f.GetField("Layer") for f in layer}
    check(gdal_layers <= layers, "%s: GDAL layers outside the table: %s" % (path, gdal_layers - layers))
    ds = None

    # As the README advises for GIS: without inlined blocks, every geometry
    # once, and one point per insert that carries the feature's attributes.
    gdal.SetConfigOption("DXF_INLINE_BLOCKS", "FALSE")
    try:
        ds = ogr.Open(path)
        entities = [f for f in ds.GetLayerByName("entities")]
    finally:
        gdal.SetConfigOption("DXF_INLINE_BLOCKS", None)
    inserts = [f for f in entities if f.GetField("BlockName")]
    check(len(entities) - len(inserts) == geometry and len(inserts) == ez["INSERT"],
          "%s: without inlined blocks GDAL reads %d geometries and %d inserts, expected %d and %d" % (
              path, len(entities) - len(inserts), len(inserts), geometry, ez["INSERT"]))
    check(sum(len(f.GetField("BlockAttributes") or []) for f in inserts) == attribs,
          "%s: without inlined blocks GDAL's inserts lack attributes" % path)
    return doc


def check_arcs(path, arcs):
    doc = ezdxf.readfile(path)
    found = list(doc.modelspace().query("ARC"))
    check(len(found) == len(arcs), "%s: %d arcs, expected %d" % (path, len(found), len(arcs)))
    for arc, (p0, p1, p2) in zip(found, arcs):
        cx, cy, _ = arc.dxf.center
        r = arc.dxf.radius
        for p in (p0, p1, p2):
            check(abs(math.hypot(p[0] - cx, p[1] - cy) - r) <= 1e-6 * max(1.0, r),
                  "%s: arc of radius %.9f misses %s" % (path, r, p))
        # The middle point lies on the counter-clockwise run from start to end.
        def angle(p):
            return math.degrees(math.atan2(p[1] - cy, p[0] - cx)) % 360.0
        start, end = arc.dxf.start_angle % 360.0, arc.dxf.end_angle % 360.0
        sweep = (end - start) % 360.0
        mid = (angle(p1) - start) % 360.0
        check(0.0 < mid < sweep, "%s: arc %.2f..%.2f does not pass through %s" % (path, start, end, p1))
        ends = sorted([(angle(p0) - start) % 360.0, (angle(p2) - start) % 360.0])
        near = lambda a, b: min(abs(a - b), 360.0 - abs(a - b)) < 1e-7
        check(near(ends[0], 0.0) and near(ends[1], sweep) or near(ends[1], 0.0) and near(ends[0], sweep),
              "%s: arc %.2f..%.2f does not end at its first and third points" % (path, start, end))


def check_names_and_code_page(path, declared):
    doc = ezdxf.readfile(path)
    layers = {layer.dxf.name for layer in doc.layers}
    texts = {t.dxf.text for t in doc.modelspace().query("TEXT")}
    ds = ogr.Open(path)
    gdal_layers, gdal_texts = set(), set()
    for f in ds.GetLayer(0):
        gdal_layers.add(f.GetField("Layer"))
        gdal_texts.add(f.GetField("Text"))
    for name, kind in (("Дороги", "layer"), ("Репер1", "text"), ("Точки_обоснования", "layer")):
        right = name
        garbage = name.encode("cp1251").decode("cp1252")
        want, not_want = (right, garbage) if declared else (garbage, right)
        for reader, found in (("ezdxf", layers if kind == "layer" else texts),
                              ("GDAL", gdal_layers if kind == "layer" else gdal_texts)):
            check(want in found and not_want not in found,
                  "%s: %s reads the %s %r as %r (code page declared: %s)" % (
                      path, reader, kind, name, sorted(x for x in found if x and x[:2] in (want[:2], not_want[:2])),
                      declared))
    if declared:
        for name in ("Road_1__old_", "Names", "Names0", "ROADS", "roads1", "Names1", "Elevations", "Сети"):
            check(name in layers, "%s: no layer %s in %s" % (path, name, sorted(layers)))
        labels = {t.dxf.layer for t in doc.modelspace().query("TEXT") if t.dxf.text == "Репер1"}
        check(labels == {"Names1"}, "%s: point names on %s, expected Names1" % (path, labels))


def check_attributes(path):
    """The values of a few features, as ezdxf reads the attributes of their inserts."""
    doc = ezdxf.readfile(path)
    values = {}
    for insert in doc.modelspace().query("INSERT"):
        tags = {a.dxf.tag: a.dxf.text for a in insert.attribs}
        values.setdefault(tags.get("Описание"), []).append(tags)
    roads = values.get("Дорога", [])
    check([(r.get("Покрытие"), r.get("Ширина")) for r in roads] == [("Асфальт", "7.50"), ("Щебень", "?")],
          "%s: road attributes %s" % (path, roads))
    wells = values.get("Колодец", [])
    check(sorted(w.get("Глубина") for w in wells) == ["2.35", "?", "?", "?", "?"],
          "%s: well attributes %s" % (path, wells))
    points = [tags for group in values.values() for tags in group if "Точка" in tags]
    check(len(points) == 22 and any(p["Точка"] == "Репер1" for p in points),
          "%s: %d point inserts" % (path, len(points)))


def check_far_circle(path):
    doc = ezdxf.readfile(path)
    lo, hi = doc.header["$EXTMIN"], doc.header["$EXTMAX"]
    want_lo, want_hi = (2194499.25, 473099.25, 0.0), (2194600.0, 473200.0, 151.0)
    check(all(abs(a - b) < 1e-6 for a, b in zip(lo, want_lo)) and all(abs(a - b) < 1e-6 for a, b in zip(hi, want_hi)),
          "%s: extents %s..%s, expected %s..%s" % (path, tuple(lo), tuple(hi), want_lo, want_hi))


def main():
    cli, samples, work = sys.argv[1:4]
    os.makedirs(work, exist_ok=True)

    for name in sorted(os.listdir(samples)):
        if not name.endswith(".tlx"):
            continue
        base = os.path.join(work, name[:-4])
        for suffix, options in (("", ()), ("-plain", ("--no-attributes",))):
            out = base + suffix + ".dxf"
            run(cli, os.path.join(samples, name), out, *options)
            if os.path.exists(out):
                check_file(out, attributes=not options)

    survey = every_kind()
    tlx = os.path.join(work, "every-kind.tlx")
    with open(tlx, "wb") as f:
        f.write(survey.text())
    variants = {"": (), "-plain": ("--no-attributes",), "-1252": ("--no-codepage",)}
    for suffix, options in variants.items():
        out = os.path.join(work, "every-kind%s.dxf" % suffix)
        run(cli, tlx, out, *options)
        check_file(out, survey.expected, attributes="--no-attributes" not in options)
        check_arcs(out, survey.arcs)
        check_names_and_code_page(out, "--no-codepage" not in options)
        if not options:
            check_attributes(out)

    far = far_circle()
    tlx = os.path.join(work, "far-circle.tlx")
    with open(tlx, "wb") as f:
        f.write(far.text())
    out = os.path.join(work, "far-circle.dxf")
    run(cli, tlx, out)
    check_file(out, far.expected)
    check_far_circle(out)

    print("%d failures" % len(FAILURES))
    return 1 if FAILURES else 0


if __name__ == "__main__":
    sys.exit(main())
