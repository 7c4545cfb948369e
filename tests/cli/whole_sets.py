"""Checks that every shapefile set of a folder is whole: GDAL opens it and
reads as many features as the main file has records, the index entries and
the table rows. A set whose files come from two different exports fails.

Usage: /usr/bin/python3 whole_sets.py FOLDER
Prints one line per set: NAME records=N. Exits 1 with the reason on the
first mismatch.
"""
import os
import struct
import sys

from osgeo import gdal, ogr

gdal.UseExceptions()


def records_in_main(path):
    with open(path, "rb") as f:
        data = f.read()
    count, at = 0, 100
    while at + 8 <= len(data):
        words = struct.unpack(">i", data[at + 4:at + 8])[0]
        at += 8 + 2 * words
        count += 1
    return count


def main():
    folder = sys.argv[1]
    names = sorted(n[:-4] for n in os.listdir(folder) if n.endswith(".SHP"))
    for base in names:
        path = os.path.join(folder, base)
        if not (os.path.exists(path + ".SHX") and os.path.exists(path + ".DBF")):
            print("FAIL: %s: not all of .SHP, .SHX, .DBF" % base)
            sys.exit(1)
        main_records = records_in_main(path + ".SHP")
        index_entries = (os.path.getsize(path + ".SHX") - 100) // 8
        with open(path + ".DBF", "rb") as f:
            rows = struct.unpack("<I", f.read(8)[4:8])[0]
        source = ogr.Open(path + ".SHP")
        features = source.GetLayer(0).GetFeatureCount()
        counts = (main_records, index_entries, rows, features)
        if len(set(counts)) != 1:
            print("FAIL: %s: records %d, index entries %d, rows %d, GDAL features %d" % ((base,) + counts))
            sys.exit(1)
        print("%s records=%d" % (base, main_records))


main()
