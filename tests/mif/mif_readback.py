"""Reads every MIF/MID pair of a folder back with GDAL and checks it.

Usage: /usr/bin/python3 mif_readback.py FOLDER
For each pair: GDAL opens it, its feature count equals the number of graphic
objects in the MIF and of rows in the MID, its fields are the declared
columns, and every MID value (decoded as 1251, quoted values unquoted) is the
value GDAL reports. Prints one line per layer: NAME features=N columns=C.
Exits 1 with the reason on the first mismatch.
"""
import os
import re
import sys

from osgeo import gdal, ogr

gdal.UseExceptions()

OBJECT = re.compile(rb"^(Point|Line|Pline|Region|Arc|Ellipse|Text|Rect|Roundrect|Multipoint|Collection|none)\b", re.I)


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def split_row(line):
    """A MID row: tab-separated values; a value in double quotes may hold tabs and doubled quotes."""
    values, i, n = [], 0, len(line)
    while True:
        if i < n and line[i] == '"':
            j, value = i + 1, []
            while True:
                if j >= n:
                    fail("unterminated quote in row %r" % line)
                if line[j] == '"':
                    if j + 1 < n and line[j + 1] == '"':
                        value.append('"')
                        j += 2
                        continue
                    j += 1
                    break
                value.append(line[j])
                j += 1
            values.append("".join(value))
            if j == n:
                break
            if line[j] != "\t":
                fail("text after a quoted value in row %r" % line)
            i = j + 1
            continue
        j = line.find("\t", i)
        if j < 0:
            values.append(line[i:])
            break
        values.append(line[i:j])
        i = j + 1
    return values


def check_pair(mif_path):
    base = mif_path[:-4]
    mid_path = base + ".MID"
    if not os.path.exists(mid_path):
        fail("no MID beside " + mif_path)
    raw = open(mif_path, "rb").read()
    if b"\n" in raw.replace(b"\r\n", b""):
        fail(mif_path + ": a line end that is not CR LF")
    lines = raw.split(b"\r\n")
    data_at = lines.index(b"Data")
    columns_line = [l for l in lines[:data_at] if l.startswith(b"Columns ")][0]
    declared = int(columns_line.split()[1])
    names = [l.split(b" ")[0].strip().decode("cp1251") for l in lines[:data_at] if l.startswith(b"\t")]
    if len(names) != declared:
        fail("%s: Columns %d but %d declarations" % (mif_path, declared, len(names)))
    objects = sum(1 for l in lines[data_at + 1:] if OBJECT.match(l))

    mid_raw = open(mid_path, "rb").read()
    if b"\n" in mid_raw.replace(b"\r\n", b""):
        fail(mid_path + ": a line end that is not CR LF")
    rows = [r.decode("cp1251") for r in mid_raw.split(b"\r\n")[:-1]]
    if objects != len(rows):
        fail("%s: %d objects but %d MID rows" % (mif_path, objects, len(rows)))

    ds = ogr.Open(mif_path)
    if ds is None:
        fail("GDAL cannot open " + mif_path)
    layer = ds.GetLayer(0)
    defn = layer.GetLayerDefn()
    fields = [defn.GetFieldDefn(i) for i in range(defn.GetFieldCount())]
    if len(fields) != declared:
        fail("%s: GDAL sees %d fields, %d declared" % (mif_path, len(fields), declared))
    for f, name in zip(fields, names):
        # GDAL launders nothing here: the names are already MapInfo names.
        if f.GetName() != name:
            fail("%s: field %r declared as %r" % (mif_path, f.GetName(), name))
    features = list(layer)
    if len(features) != len(rows):
        fail("%s: GDAL reads %d features, the MID has %d rows" % (mif_path, len(features), len(rows)))
    for number, (feature, row) in enumerate(zip(features, rows)):
        values = split_row(row)
        # Every value is followed by a tab, so the last piece is empty.
        if len(values) != declared + 1 or values[-1] != "":
            fail("%s row %d: %d values for %d columns: %r" % (mid_path, number, len(values) - 1, declared, row))
        if feature.GetGeometryRef() is None:
            fail("%s feature %d has no geometry" % (mif_path, number))
        for i, f in enumerate(fields):
            expected = values[i]
            if f.GetType() == ogr.OFTString:
                got = feature.GetFieldAsString(i)
                if got != expected:
                    fail("%s row %d column %s: GDAL %r, MID %r" % (mid_path, number, f.GetName(), got, expected))
            else:
                try:
                    want = float(expected)
                except ValueError:
                    continue  # "?" and other non-numbers: GDAL's own reading of them is not ours to check
                got = feature.GetFieldAsDouble(i)
                if abs(got - want) > 1e-9 * max(1.0, abs(want)):
                    fail("%s row %d column %s: GDAL %r, MID %r" % (mid_path, number, f.GetName(), got, expected))
    print("%s features=%d columns=%d" % (os.path.basename(base), len(features), declared))


def main():
    folder = sys.argv[1]
    mifs = sorted(p for p in os.listdir(folder) if p.endswith(".MIF"))
    mids = sorted(p for p in os.listdir(folder) if p.endswith(".MID"))
    if [m[:-4] for m in mifs] != [m[:-4] for m in mids]:
        fail("MIF and MID files do not pair up: %r %r" % (mifs, mids))
    for name in mifs:
        check_pair(os.path.join(folder, name))


main()
