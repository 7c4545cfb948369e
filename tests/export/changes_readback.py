#!/usr/bin/python3
"""Exports the surveys of tests/data/changes to every format and checks what
the formats could not hold: the change summary lists exactly the changes
made, the outputs pass every third-party reader, and the values agree.

Usage: changes_readback.py TLXEXPORT DATA_DIR WORK_DIR

every-change.tlx holds each case a format cannot take as it stands: names
equal after conversion, control characters and the undefined 1251 byte 0x98
inside values and names, layers differing in case, a blank layer name,
degenerate shapes, extreme decimals, long texts and numbers, and arcs of
radii 1 m to 100 km. clean.tlx holds none of them.
"""
import glob
import math
import os
import shutil
import subprocess
import sys

import shapefile
from dbfread import DBF
from osgeo import gdal, ogr

# The readers as the DXF and shapefile read-backs set them up.
sys.path[:0] = [os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", d) for d in ("dxf", "shp")]
import dxf_readback  # noqa: E402
from readback import ZeroPaddedFieldParser  # noqa: E402

gdal.UseExceptions()
FAILURES = dxf_readback.FAILURES  # one list for its checks and these
check = dxf_readback.check
HEADING = "Changes to fit the format:"


# Every line of the log's summary, per format, in the order the export met them.
EXPECTED = {
    "dxf": [
        'Layer "ROADS": layer name changed to "ROADS1"',
        'Layer "": layer name changed to "Layer_7"',
        'Layer "Roads", column "Примечание": control characters replaced: 3',
        'Layer "Roads": shapes with a point repeated to be valid: 1',
        'Layer "Roads", column "A B": bytes undefined in code page 1251 replaced: 1',
        'Layer "ROADS": shapes with a point repeated to be valid: 1',
        'Layer "Сети", symbols: bytes undefined in code page 1251 replaced: 1',
        'Layer "Сети", column "Марка": control characters replaced: 1',
        'Layer "", symbols: control characters replaced: 1',
        'Layer "", column "Вид знака": control characters replaced: 1',
        'Layer "Точки обоснования", point labels: control characters replaced: 1',
        'Layer "Точки обоснования", column "Точка": control characters replaced: 1',
        'Layer "Точки обоснования", point labels: bytes undefined in code page 1251 replaced: 1',
        'Layer "Точки обоснования", column "Точка": bytes undefined in code page 1251 replaced: 1',
    ],
    "mif": [
        'Layer "Roads", column "A_B": field name made unique as "A_B_1"',
        'Layer "Roads", column "Ширина; м": field name made unique as "Ширина__м_1"',
        'Layer "Roads", column "Ширина; м": decimals 2 written as 1',
        'Layer "Roads", column "Точность": decimals 30 written as 19',
        'Layer "Roads", column "Ширина; м": numbers rounded to fit 2 characters: 1 (longest 5)',
        'Layer "Roads", column "Точность": numbers rounded to fit 20 characters: 1 (longest 23)',
        'Layer "Roads", column "Полос": numbers that do not fit the field written empty: 1 (longest 8)',
        'Layer "Roads", column "Номер": numbers that do not fit the field written empty: 1 (longest 11)',
        'Layer "Roads", column "Примечание": control characters replaced: 3',
        'Layer "Roads", column "Примечание": values cut to 5 characters: 2 (longest 19)',
        'Layer "Roads": shapes with a point repeated to be valid: 1',
        'Layer "Roads", column "A B": bytes undefined in code page 1251 replaced: 1',
        'Layer "ROADS": shapes with a point repeated to be valid: 1',
        'Layer "ROADS": file name changed to "ROADS1"',
        'Layer "Сети", column "Марка": control characters replaced: 1',
        'Layer "": file name changed to "Layer_7"',
        'Layer "Точки обоснования", column "Точка": control characters replaced: 1',
        'Layer "Точки обоснования", column "Точка": bytes undefined in code page 1251 replaced: 1',
    ],
    "shp": [
        'Layer "Roads", column "Ширина; м": decimals 2 written as 0',
        'Layer "Roads", column "Точность": decimals 30 written as 15',
        'Layer "Roads", column "Ширина; м": numbers rounded to fit 2 characters: 1 (longest 5)',
        'Layer "Roads", column "Точность": numbers rounded to fit 20 characters: 1 (longest 23)',
        'Layer "Roads", column "Полос": numbers that do not fit the field written empty: 1 (longest 8)',
        'Layer "Roads", column "Примечание": control characters replaced: 3',
        'Layer "Roads", column "Примечание": values cut to 5 characters: 2 (longest 19)',
        'Layer "Roads": shapes with a point repeated to be valid: 1',
        'Layer "Roads", column "A B": bytes undefined in code page 1251 replaced: 1',
        'Layer "ROADS": shapes with a point repeated to be valid: 2',
        'Layer "ROADS": file name changed to "ROADS1"',
        'Layer "Сети", column "Координата север": field name cut to "Координата"',
        'Layer "Сети", column "Координата вост": field name made unique as "Координа_1"',
        'Layer "Сети", column "Марка": control characters replaced: 1',
        'Layer "": file name changed to "Layer_7"',
        'Layer "", column "Вид знака": control characters replaced: 1',
        'Layer "Точки обоснования", column "Точка": control characters replaced: 1',
        'Layer "Точки обоснования", column "Точка": bytes undefined in code page 1251 replaced: 1',
    ],
    "text": [
        "Point names: control characters replaced: 1",
        "Point names: bytes undefined in code page 1251 replaced: 1",
    ],
}

# Standard error's summary of the formats with more than ten changes.
KINDS = {
    "dxf": ["control characters replaced: 8", "bytes undefined in code page 1251 replaced: 4",
            "layer names changed: 2", "shapes with a point repeated: 2"],
    "mif": ["values cut: 2", "numbers rounded: 2", "numbers written empty: 2", "control characters replaced: 5",
            "bytes undefined in code page 1251 replaced: 2", "field names made unique: 2", "file names changed: 2",
            "shapes with a point repeated: 2", "decimals clamped: 2"],
    "shp": ["values cut: 2", "numbers rounded: 2", "numbers written empty: 1", "control characters replaced: 6",
            "bytes undefined in code page 1251 replaced: 2", "field names cut: 1", "field names made unique: 1",
            "file names changed: 2", "shapes with a point repeated: 3", "decimals clamped: 2"],
}

# The values a format changed, as each reader sees them (None: empty or
# missing), by feature ID and column. Every other value reads the same from
# the DXF attributes, the MID and the DBF.
CHANGED = {
    ("f101", "Ширина; м"): {"dxf": 0.123, "mif": 0.0, "dbf": 0.0},
    ("f101", "Полос"): {"dxf": 12345678.0, "mif": 0.0, "dbf": None},  # MID has no empty number: 0
    ("f101", "Номер"): {"dxf": 99999999999.0, "mif": 0.0, "dbf": 99999999999.0},
    ("f101", "Примечание"): {"dxf": "evil value   0 LINE", "mif": "evil", "dbf": "evil"},
    ("f102", "Примечание"): {"dxf": "tab\there", "mif": "tab\th", "dbf": "tab\th"},
}

def export(cli, fmt, tlx, target, *options):
    return subprocess.run([cli, fmt, tlx, target, *options], capture_output=True, text=True)


def target_of(work, fmt, name):
    return os.path.join(work, name + {"dxf": ".dxf", "text": ".txt"}.get(fmt, "-" + fmt))


def summary_of(log_path):
    with open(log_path, encoding="utf-8") as f:
        lines = f.read().split("\n")
    if HEADING not in lines:
        return []
    start = lines.index(HEADING) + 1
    end = next(i for i in range(start, len(lines)) if lines[i].startswith("Total errors") or not lines[i])
    return lines[start:end]


# ---------------------------------------------------------------- summaries

def check_summaries(cli, data, work):
    tlx = os.path.join(data, "every-change.tlx")
    for fmt, expected in EXPECTED.items():
        target, log = target_of(work, fmt, "every"), os.path.join(work, "every-%s.log" % fmt)
        result = export(cli, fmt, tlx, target, "--log", log)
        check(result.returncode == 0, "%s: exit %d: %s" % (fmt, result.returncode, result.stderr))
        got = summary_of(log)
        check(got == expected, "%s: the log's summary\n  %s\nexpected\n  %s" % (fmt, "\n  ".join(got),
                                                                               "\n  ".join(expected)))
        # More than ten changes: one line per kind on standard error.
        shown = expected if len(expected) <= 10 else KINDS[fmt]
        check(result.stderr == "\n".join([HEADING] + ["  " + line for line in shown]) + "\n",
              "%s: standard error %r" % (fmt, result.stderr))

    clean = os.path.join(data, "clean.tlx")
    for fmt in EXPECTED:
        for options in ((), ("--strict",)):
            name = "clean" + "".join(options)
            target, log = target_of(work, fmt, name), os.path.join(work, "%s-%s.log" % (name, fmt))
            result = export(cli, fmt, clean, target, "--log", log, *options)
            check(result.returncode == 0 and not result.stderr and not summary_of(log),
                  "clean %s %s: exit %d, stderr %r, summary %s" % (fmt, options, result.returncode, result.stderr,
                                                                  summary_of(log)))

    # Strict: the first change fails the export, which says what it would
    # have changed and leaves no file of its own.
    for fmt in EXPECTED:
        target = target_of(work, fmt, "strict")
        if fmt in ("mif", "shp"):
            os.makedirs(target, exist_ok=True)
        result = export(cli, fmt, tlx, target, "--strict")
        check(result.returncode == 1 and HEADING in result.stderr and "--strict" in result.stderr,
              "strict %s: exit %d, stderr %r" % (fmt, result.returncode, result.stderr))
        left = os.listdir(target) if os.path.isdir(target) else [target] if os.path.exists(target) else []
        check(not left, "strict %s: files left %s" % (fmt, left))


# ---------------------------------------------------------------- readers

def normal(value):
    if value is None or value == "?" or value == "":
        return None
    if isinstance(value, str):
        try:
            return float(value)
        except ValueError:
            return value.rstrip(" ")
    return float(value)


def same(a, b):
    if isinstance(a, float) and isinstance(b, float):
        return math.isclose(a, b, rel_tol=1e-12)
    return a == b


def read_dxf(path):
    msp = dxf_readback.read_ezdxf(path).modelspace()
    # Every POLYLINE reaches GDAL, the one-vertex ones included.
    gdal.SetConfigOption("DXF_INLINE_BLOCKS", "FALSE")
    try:
        ds = ogr.Open(path)  # the layer lives only as long as its data source
        layer = ds.GetLayerByName("entities")
        lines = sum(1 for f in layer if f.GetGeometryRef() and f.GetGeometryRef().GetGeometryName() != "POINT")
    finally:
        gdal.SetConfigOption("DXF_INLINE_BLOCKS", None)
    want = len(msp.query("POLYLINE LINE ARC CIRCLE"))
    check(lines == want, "%s: GDAL reads %d lines and areas, the file has %d" % (path, lines, want))
    rows, arcs, arc = {}, {}, None
    for entity in msp:  # each feature's entities, then the insert with its values
        if entity.dxftype() == "ARC":
            arc = entity
        elif entity.dxftype() == "INSERT":
            values = [(a.dxf.tag, a.dxf.text) for a in entity.attribs]
            key = row_key(dict(values))
            rows[key] = values
            if arc is not None:
                arcs[key] = (tuple(arc.start_point)[:2], tuple(arc.end_point)[:2])
            arc = None
    return rows, arcs


def row_key(values):
    """Features by their ID, survey points by their name."""
    return values.get("ID", values.get("Точка"))


def read_mif(folder):
    rows, arcs = {}, {}
    for path in sorted(glob.glob(os.path.join(folder, "*.MIF"))):
        ds = ogr.Open(path)
        layer = ds.GetLayer(0)
        defn = layer.GetLayerDefn()
        fields = [defn.GetFieldDefn(i).GetName() for i in range(defn.GetFieldCount())]
        check(len({f.upper() for f in fields}) == len(fields), "%s: column names %s" % (path, fields))
        for feature in layer:
            values = [feature.GetField(i) for i in range(len(fields))]
            key = row_key(dict(zip(fields, values)))
            rows[key] = values
            if key.startswith("a"):
                points = feature.GetGeometryRef().GetPoints()
                arcs[key] = (points[0][:2], points[-1][:2])
    return rows, arcs


def read_shp(folder):
    rows, arcs = {}, {}
    for path in sorted(glob.glob(os.path.join(folder, "*.SHP"))):
        base = path[:-4]
        reader = shapefile.Reader(base, encoding="cp1251")
        table = DBF(base + ".DBF", encoding="cp1251", parserclass=ZeroPaddedFieldParser, char_decode_errors="strict")
        fields = [f.name for f in table.fields]
        check([f[0] for f in reader.fields[1:]] == fields, "%s: pyshp and dbfread see other fields" % path)
        check(len({f.upper() for f in fields}) == len(fields), "%s: field names %s" % (path, fields))
        shapes = reader.shapes()
        for shape, row in zip(shapes, table):
            values = list(row.values())
            check(shape.shapeType == reader.shapeType, "%s: shape of type %d" % (path, shape.shapeType))
            if shape.shapeType == 3:
                check(len(shape.points) >= 2, "%s: a line of %d points" % (path, len(shape.points)))
            if shape.shapeType == 5:
                check(len(shape.points) >= 4 and shape.points[0] == shape.points[-1],
                      "%s: a ring of %d points" % (path, len(shape.points)))
            key = row_key(dict(zip(fields, values)))
            rows[key] = values
            if key.startswith("a"):
                arcs[key] = (tuple(shape.points[0]), tuple(shape.points[-1]))
        ds = ogr.Open(path)
        check(ds.GetLayer(0).GetFeatureCount() == len(shapes), "%s: GDAL reads another count" % path)
        dump = subprocess.run(["shpdump", "-validate", path], capture_output=True, text=True, errors="replace")
        check(dump.returncode == 0 and "0 object has invalid ring orderings" in dump.stdout,
              "%s: shpdump -validate: %s" % (path, dump.stdout[-300:]))
    return rows, arcs


def surveyed_arc_ends(tlx):
    """The first and third point of every arc, as drawing (east, north)."""
    with open(tlx, "rb") as f:
        lines = f.read().decode("cp1251", errors="replace").split("\r\n")
    points, ends, section = {}, {}, None
    for line in lines:
        if line.startswith("BEGIN "):
            section = line[6:]
        elif section == "POINTS" and not line.startswith("END"):
            points[int(line[0:8])] = (float(line[52:68]), float(line[35:51]))
        elif section == "FEATURES" and line[9:12] == "ARC":
            ends["a%d" % int(line[0:8])] = (points[int(line[35:43])], points[int(line[53:61])])
    return ends


def check_readers_and_values(data, work):
    tlx = os.path.join(data, "every-change.tlx")
    for fmt in ("mif", "shp"):  # one disk may hold them, whatever case it ignores
        names = os.listdir(target_of(work, fmt, "every"))
        check(len({n.upper() for n in names}) == len(names), "%s: file names %s" % (fmt, sorted(names)))
    dxf_rows, dxf_arcs = read_dxf(target_of(work, "dxf", "every"))
    mif_rows, mif_arcs = read_mif(target_of(work, "mif", "every"))
    shp_rows, shp_arcs = read_shp(target_of(work, "shp", "every"))

    ends = surveyed_arc_ends(tlx)
    check(len(ends) == 5, "%d arcs in the survey" % len(ends))
    for fmt, arcs in (("dxf", dxf_arcs), ("mif", mif_arcs), ("shp", shp_arcs)):
        check(sorted(arcs) == sorted(ends), "%s: arcs %s" % (fmt, sorted(arcs)))
        for key, (a, b) in arcs.items():
            p, q = ends.get(key, ((0, 0), (0, 0)))
            miss = min(max(math.dist(a, p), math.dist(b, q)), max(math.dist(a, q), math.dist(b, p)))
            check(miss <= 1e-4, "%s: arc %s ends %.6f m off its surveyed points" % (fmt, key, miss))

    check(sorted(dxf_rows) == sorted(mif_rows) == sorted(shp_rows),
          "features: DXF %s, MID %s, DBF %s" % (sorted(dxf_rows), sorted(mif_rows), sorted(shp_rows)))
    for key, tagged in dxf_rows.items():
        mif, dbf = mif_rows.get(key, []), shp_rows.get(key, [])
        check(len(tagged) == len(mif) == len(dbf), "%s: %d, %d and %d values" % (key, len(tagged), len(mif), len(dbf)))
        for (tag, text), m, d in zip(tagged, mif, dbf):
            got = {"dxf": normal(text), "mif": normal(m), "dbf": normal(d)}
            want = CHANGED.get((key, tag))
            if want is None:
                want = dict.fromkeys(got, got["dxf"])
            check(all(same(got[f], want[f]) for f in got), "%s, %s: read %s, expected %s" % (key, tag, got, want))


# ---------------------------------------------------------------- main

def main():
    cli, data, work = sys.argv[1:4]
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    check_summaries(cli, data, work)
    check_readers_and_values(data, work)
    print("%d failures" % len(FAILURES))
    return 1 if FAILURES else 0


if __name__ == "__main__":
    sys.exit(main())
