"""Reads back the export of the deeply nested survey of DeepNestingTest.cpp
with third-party readers and checks that its parts come out in file order:
LINE j from (101 + j, 201 + j) to (102 + j, 202 + j) for j = 0 .. LINES - 1,
then the POINT at (101, 201).

Usage: /usr/bin/python3 deep_readback.py dxf|mif|shp OUTPUT LINES
Prints "ok", or the first parts that differ, and exits 1 on a difference.
"""
import sys


def expected(lines):
    parts = [("line", [(101.0 + j, 201.0 + j), (102.0 + j, 202.0 + j)]) for j in range(lines)]
    return parts + [("point", [(101.0, 201.0)])]


def from_dxf(path):
    import ezdxf

    doc = ezdxf.readfile(path)
    parts = []
    for e in doc.modelspace():
        if e.dxf.layer != "Deep":
            continue
        if e.dxftype() == "LINE":
            parts.append(("line", [tuple(e.dxf.start)[:2], tuple(e.dxf.end)[:2]]))
        elif e.dxftype() == "POINT":
            parts.append(("point", [tuple(e.dxf.location)[:2]]))
    return parts


def from_ogr(path):
    from osgeo import ogr

    ogr.UseExceptions()
    source = ogr.Open(path)
    parts = []
    layer = source.GetLayer(0)
    for feature in layer:
        g = feature.GetGeometryRef()
        kind = ogr.GeometryTypeToName(g.GetGeometryType()).lower()
        kind = "line" if "line" in kind else "point" if "point" in kind else kind
        parts.append((kind, [g.GetPoint_2D(i) for i in range(g.GetPointCount())]))
    return parts


def from_shp(path):
    import shapefile

    base = path[: -len(".shp")] if path.lower().endswith(".shp") else path
    ext = path[len(base):]
    upper = ext.isupper()
    with open(base + ext, "rb") as shp, open(base + (".SHX" if upper else ".shx"), "rb") as shx, open(
        base + (".DBF" if upper else ".dbf"), "rb"
    ) as dbf:
        reader = shapefile.Reader(shp=shp, shx=shx, dbf=dbf, encoding="cp1251")
        return [("line", [tuple(p) for p in shape.points]) for shape in reader.shapes()]


def main():
    fmt, path, lines = sys.argv[1], sys.argv[2], int(sys.argv[3])
    want = expected(lines)
    if fmt == "dxf":
        got = from_dxf(path)
    elif fmt == "mif":
        got = from_ogr(path)
    else:
        # The POINT part goes to the set of points, beside the lines.
        got = from_shp(path)
        want = want[:-1]
    if got == want:
        print("ok")
        return 0
    for i, (g, w) in enumerate(zip(got, want)):
        if g != w:
            print(f"part {i}: got {g}, expected {w}")
            break
    print(f"{len(got)} parts, expected {len(want)}")
    return 1


if __name__ == "__main__":
    sys.exit(main())
