#!/usr/bin/python3
"""Reads .tlx surveys through the plugin ogr_TLX.so in GDAL's own programs and
checks what GIS users get against independent readers.

Usage: roundtrip.py TLXEXPORT SAMPLES_DIR WORK_DIR   (GDAL_DRIVER_PATH names the plugin's folder)

- `ogrinfo --formats` lists the driver; `ogrinfo -ro -al` shows every layer,
  field, feature and geometry the Python bindings read through the plugin.
- Both samples: layer names, counts, types and Cyrillic values as the survey
  holds them, and equal to our MIF export read by GDAL's MapInfo driver.
- ogr2ogr to GeoPackage, GeoJSON and FlatGeobuf, read back: counts, values,
  coordinates to 1e-9; arcs and circles, linearised, pass through their three
  surveyed points.
- A zipped sample through /vsizip/ reads as the file itself.
"""
import math
import os
import re
import shutil
import subprocess
import sys
import zipfile

from osgeo import gdal, ogr

from checks import check, finish

gdal.UseExceptions()


def run(*args):
    result = subprocess.run(args, capture_output=True, text=True)
    check(result.returncode == 0, "%s exited %d: %s" % (" ".join(args), result.returncode, result.stderr[-2000:]))
    return result.stdout


# ------------------------------------------------------------- reading a dataset

def leaves(geometry):
    """The parts of a collection, or the geometry itself."""
    if geometry is None:
        return []
    if ogr.GT_Flatten(geometry.GetGeometryType()) == ogr.wkbGeometryCollection:
        return [geometry.GetGeometryRef(i) for i in range(geometry.GetGeometryCount())]
    return [geometry]


def read(path, layer_names=None):
    """{layer: {"type", "fields": [(name, type)], "features": [(fid, [values], geometry)]}}"""
    ds = gdal.OpenEx(path, gdal.OF_VECTOR)
    out = {}
    for layer in (ds.GetLayer(i) for i in range(ds.GetLayerCount())):
        if layer_names is not None and layer.GetName() not in layer_names:
            continue
        defn = layer.GetLayerDefn()
        fields = [(defn.GetFieldDefn(i).GetName(), defn.GetFieldDefn(i).GetTypeName())
                  for i in range(defn.GetFieldCount())]
        features = []
        for feature in layer:
            values = [None if feature.IsFieldNull(i) else feature.GetField(i) for i in range(len(fields))]
            geometry = feature.GetGeometryRef()
            features.append((feature.GetFID(), values, geometry.Clone() if geometry else None))
        out[layer.GetName()] = {"type": ogr.GeometryTypeToName(layer.GetGeomType()), "fields": fields,
                                "features": features, "count": layer.GetFeatureCount()}
    return out


# --------------------------------------------------------------- what we expect

# name: (geometry type, feature count) of every layer, in order
EXPECTED_LAYERS = {
    "building-site": [
        ("Геодезия", "3D Polygon", 1), ("Здания", "3D Unknown (any)", 2), ("Дороги", "3D Line String", 3),
        ("Растительность", "3D Unknown (any)", 10), ("Инженерные сети", "3D Unknown (any)", 5),
        ("Бордюры", "Circular String", 1), ("Строящиеся", "3D Polygon", 1), ("Ограждения", "3D Line String", 2),
        ("Точки тахеометрии", "3D Point", 71), ("Точки обоснования", "3D Point", 5)],
    "damaged-survey": [
        ("Здания", "3D Polygon", 1), ("Дороги", "3D Line String", 2), ("Озеленение", "3D Point", 1),
        ("_UNDEF_", "3D Point", 2), ("Точки тахеометрии", "3D Point", 19), ("Точки обоснования", "3D Point", 3)],
}
# (layer, fid, field, value) spot checks, Cyrillic values decoded from 1251
EXPECTED_VALUES = {
    "building-site": [("Здания", 1004, "Название", "ГСК «Северный»"), ("Здания", 1002, "Этажность", 9),
                      ("Здания", 1002, "Адрес", "ул. Северная, д. 14"), ("Здания", 1002, "Площадь", 960.48),
                      ("Растительность", 1013, "Порода", "берёза"), ("Растительность", 1015, "Состояние", None),
                      ("Точки обоснования", 3, "Точка", "Рп 17"), ("Точки тахеометрии", 132, "Отношение к рельефу", "S")],
    "damaged-survey": [("Здания", 101, "Материал", "кирпич"), ("Озеленение", 111, "Порода", "клён"),
                       ("Дороги", 105, "Покрытие", "асфальт")],
}


def check_expected(sample, tlx):
    layers = [(name, layer["type"], layer["count"]) for name, layer in tlx.items()]
    check(layers == EXPECTED_LAYERS[sample], "%s: layers %r" % (sample, layers))
    for name, layer in tlx.items():
        check(layer["count"] == len(layer["features"]), "%s/%s: count %d, read %d" % (
            sample, name, layer["count"], len(layer["features"])))
    for name, fid, field, value in EXPECTED_VALUES[sample]:
        layer = tlx.get(name)
        if not check(layer is not None, "%s: no layer %s" % (sample, name)):
            continue
        index = [f for f, _ in layer["fields"]].index(field)
        got = [v[index] for f, v, _ in layer["features"] if f == fid]
        check(got == [value], "%s/%s/%d %s: %r, expected %r" % (sample, name, fid, field, got, value))


# ------------------------------------------------------------------ ogrinfo text

def check_ogrinfo(sample, path, tlx):
    text = run("ogrinfo", "-ro", "-al", path)
    check("using driver `TLX' successful" in text, "%s: ogrinfo did not use TLX" % sample)
    layers = re.findall(r"^Layer name: (.*)\nGeometry: (.*)\nFeature Count: (\d+)", text, re.M)
    check(layers == [(n, l["type"], str(l["count"])) for n, l in tlx.items()], "%s: ogrinfo layers %r" % (sample, layers))
    shown = re.findall(r"^OGRFeature\((.*)\):(-?\d+)$", text, re.M)
    expected = [(n, str(fid)) for n, l in tlx.items() for fid, _, _ in l["features"]]
    check(shown == expected, "%s: ogrinfo shows %d features, Python reads %d" % (sample, len(shown), len(expected)))
    for name, layer in tlx.items():
        for field, kind in layer["fields"]:
            check(re.search(r"^%s: %s " % (re.escape(field), kind), text, re.M),
                  "%s/%s: ogrinfo lacks field %s: %s" % (sample, name, field, kind))
    for name, fid, field, value in EXPECTED_VALUES[sample]:
        if isinstance(value, str):
            check("  %s (String) = %s\n" % (field, value) in text, "%s: ogrinfo lacks %s = %s" % (sample, field, value))


# ------------------------------------------------------------ the MIF export

def mif_name(name):
    """Our MapInfo names: letters, digits and "_", others "_"; 32 at most; no leading digit."""
    name = "".join(c if c.isalnum() or c == "_" else "_" for c in name)[:32]
    return "_" + name[1:] if name[:1].isdigit() else name


def check_against_mif(sample, tlx, tlxexport, work):
    folder = os.path.join(work, sample + "-mif")
    run(tlxexport, "mif", os.path.join(SAMPLES, sample + ".tlx"), folder, "--overwrite", "all", "--log", os.devnull)
    mif = read(folder)
    check(sorted(mif) == sorted(mif_name(n) for n in tlx), "%s: MIF layers %r" % (sample, sorted(mif)))
    for name, layer in tlx.items():
        other = mif.get(mif_name(name))
        if other is None:
            continue
        check([f for f, _ in other["fields"]] == [mif_name(f) for f, _ in layer["fields"]],
              "%s/%s: MIF fields %r" % (sample, name, other["fields"]))
        check([t for _, t in other["fields"]] == [t for _, t in layer["fields"]],
              "%s/%s: MIF field types %r, ours %r" % (sample, name, other["fields"], layer["fields"]))
        # a MULTIPLE is one feature here and one object per part there
        rows = [values for _, values, geometry in layer["features"] for _ in leaves(geometry)]
        check(len(rows) == len(other["features"]), "%s/%s: %d MIF objects, %d parts here" % (
            sample, name, len(other["features"]), len(rows)))
        for ours, (_, theirs, _) in zip(rows, other["features"]):
            for (field, kind), mine, its in zip(layer["fields"], ours, theirs):
                # MID writes a missing value as "?", which GDAL reads as 0 in a number
                if mine is None:
                    mine = "?" if kind == "String" else 0
                same = abs(mine - its) <= 1e-9 * max(1, abs(mine)) if kind == "Real" else mine == its
                check(same, "%s/%s %s: %r here, %r in MIF" % (sample, name, field, mine, its))


# ------------------------------------------------------------- ogr2ogr outputs

def points_of(geometry):
    return [geometry.GetPoint(i) for i in range(geometry.GetPointCount())]


def distance_to(line, x, y):
    best = math.inf
    for (ax, ay, _), (bx, by, _) in zip(line, line[1:]):
        dx, dy = bx - ax, by - ay
        t = 0.0 if dx == dy == 0 else max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
        best = min(best, math.hypot(ax + t * dx - x, ay + t * dy - y))
    return best


def circle_radius(p, q, r):
    a, b, c = math.dist(p[:2], q[:2]), math.dist(q[:2], r[:2]), math.dist(r[:2], p[:2])
    area = abs((q[0] - p[0]) * (r[1] - p[1]) - (q[1] - p[1]) * (r[0] - p[0])) / 2
    return a * b * c / (4 * area) if area else 0


def check_leaf(where, ours, back):
    kind = ogr.GT_Flatten(ours.GetGeometryType())
    if kind in (ogr.wkbCircularString, ogr.wkbCurvePolygon):
        curve = ours if kind == ogr.wkbCircularString else ours.GetGeometryRef(0)
        surveyed = points_of(curve)[:3]
        linear = back.GetLinearGeometry()
        polygon = ogr.GT_Flatten(linear.GetGeometryType()) == ogr.wkbPolygon
        line = points_of(linear.GetGeometryRef(0) if polygon else linear)
        # the chord of GDAL's steps lies within 1/1000 of the radius of the arc
        tolerance = 1e-3 * circle_radius(*surveyed) + 1e-9
        for x, y, _ in surveyed:
            check(distance_to(line, x, y) <= tolerance, "%s: (%r, %r) is %g from the curve" % (
                where, x, y, distance_to(line, x, y)))
        if polygon:  # the whole circle, not the arc through the points and back
            area = math.pi * circle_radius(*surveyed) ** 2
            check(abs(linear.GetArea() - area) <= 1e-2 * area, "%s: circle of area %g, not %g" % (
                where, linear.GetArea(), area))
        for end in (surveyed[0], surveyed[2]) if kind == ogr.wkbCircularString else (surveyed[0],):
            check(min(math.dist(end[:2], p[:2]) for p in line) <= 1e-9, "%s: curve misses its end %r" % (where, end))
        return
    mine = points_of(ours) if ours.GetGeometryCount() == 0 else points_of(ours.GetGeometryRef(0))
    theirs = points_of(back) if back.GetGeometryCount() == 0 else points_of(back.GetGeometryRef(0))
    check(len(mine) == len(theirs) and all(math.dist(p, q) <= 1e-9 for p, q in zip(mine, theirs)),
          "%s: %s read back as %s" % (where, ours.ExportToIsoWkt(), back.ExportToIsoWkt()))


def check_copy(sample, fmt, tlx, copy):
    for name, layer in tlx.items():
        other = copy.get(name)
        if not check(other is not None, "%s %s: no layer %s in %r" % (sample, fmt, name, sorted(copy))):
            continue
        check(len(other["features"]) == len(layer["features"]), "%s %s/%s: %d features, %d here" % (
            sample, fmt, name, len(other["features"]), len(layer["features"])))
        check([f for f, _ in other["fields"]] == [f for f, _ in layer["fields"]],
              "%s %s/%s: fields %r" % (sample, fmt, name, other["fields"]))
        for (fid, mine, geometry), (_, theirs, back) in zip(layer["features"], other["features"]):
            where = "%s %s/%s/%d" % (sample, fmt, name, fid)
            for (field, kind), a, b in zip(layer["fields"], mine, theirs):
                same = a == b if a is None or b is None or kind != "Real" else abs(a - b) <= 1e-9 * max(1, abs(a))
                check(same, "%s %s: %r here, %r read back" % (where, field, a, b))
            if not check((geometry is None) == (back is None), where + ": geometry lost"):
                continue
            parts, back_parts = leaves(geometry), leaves(back)
            if check(len(parts) == len(back_parts), "%s: %d parts, %d read back" % (where, len(parts), len(back_parts))):
                for part, back_part in zip(parts, back_parts):
                    check_leaf(where, part, back_part)


def check_outputs(sample, path, tlx, work):
    gpkg = os.path.join(work, sample + ".gpkg")
    run("ogr2ogr", "-f", "GPKG", gpkg, path)
    check_copy(sample, "GPKG", tlx, read(gpkg))
    fgb = os.path.join(work, sample + "-fgb")
    run("ogr2ogr", "-f", "FlatGeobuf", "-lco", "SPATIAL_INDEX=NO", fgb, path)  # keeps the order
    check_copy(sample, "FlatGeobuf", tlx, read(fgb))
    # GeoJSON holds one layer per file
    for number, name in enumerate(tlx):
        geojson = os.path.join(work, "%s-%d.geojson" % (sample, number))
        run("ogr2ogr", "-f", "GeoJSON", geojson, path, name, "-nln", name)
        check_copy(sample, "GeoJSON", {name: tlx[name]}, read(geojson))


def check_vsizip(sample, path, tlx, work):
    archive = os.path.join(work, sample + ".zip")
    with zipfile.ZipFile(archive, "w", zipfile.ZIP_DEFLATED) as z:
        z.write(path, "surveys/" + sample + ".tlx")
    zipped = read("/vsizip/%s/surveys/%s.tlx" % (archive, sample))
    check(list(zipped) == list(tlx), "%s: /vsizip/ layers %r" % (sample, list(zipped)))
    check_copy(sample, "/vsizip/", tlx, zipped)


def main():
    global SAMPLES
    tlxexport, SAMPLES, work = sys.argv[1:4]
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    gdal.PushErrorHandler("CPLQuietErrorHandler")  # the damaged sample's reports, GDAL's notes on "?" in MIF
    formats = run("ogrinfo", "--formats")
    check("  TLX -vector- (rov): Land survey exchange file (.tlx)\n" in formats, "ogrinfo --formats lacks TLX")
    for sample in ("building-site", "damaged-survey"):
        path = os.path.join(SAMPLES, sample + ".tlx")
        ds = ogr.Open(path)  # the route of GeoPandas and Fiona users
        check(ds is not None and ds.GetDriver().GetName() == "TLX", "%s: Python's ogr.Open did not use TLX" % sample)
        tlx = read(path)
        check_expected(sample, tlx)
        check_ogrinfo(sample, path, tlx)
        check_against_mif(sample, tlx, tlxexport, work)
        check_outputs(sample, path, tlx, work)
        check_vsizip(sample, path, tlx, work)
        print("%s: %d layers, %d features checked" % (sample, len(tlx), sum(len(l["features"]) for l in tlx.values())))
    finish("round trips: both samples")


main()
