#!/usr/bin/python3
"""Loads both samples into a real PostGIS through the plugin and queries them.

Usage: postgis.py SAMPLES_DIR   (GDAL_DRIVER_PATH names the plugin's folder)

A throwaway cluster lives in a temporary folder, on a Unix socket only
(listen_addresses ''), with trust authentication; it is stopped and removed
at the end, also when a check fails. PostgreSQL refuses to run as root, so
as root the server and psql run as the "postgres" user of Debian's package.
"""
import glob
import os
import pwd
import shutil
import subprocess
import sys
import tempfile

from osgeo import gdal, ogr

from checks import check, finish

gdal.UseExceptions()


class Cluster:
    def __init__(self):
        binaries = sorted(glob.glob("/usr/lib/postgresql/*/bin/initdb"))
        if not binaries:
            sys.exit("postgis.py: no PostgreSQL server (scripts/install-deps.sh installs postgresql and postgis)")
        self.bin = os.path.dirname(binaries[-1])
        self.folder = tempfile.mkdtemp(prefix="tlx-postgis-")
        self.data = os.path.join(self.folder, "data")
        self.as_user = []
        if os.getuid() == 0:
            owner = pwd.getpwnam("postgres")
            os.chown(self.folder, owner.pw_uid, owner.pw_gid)
            self.as_user = ["runuser", "-u", "postgres", "--"]
        self.started = False

    def run(self, *args):
        result = subprocess.run(self.as_user + list(args), capture_output=True, text=True, cwd=self.folder)
        if result.returncode != 0:
            raise RuntimeError("%s exited %d: %s%s" % (args[0], result.returncode, result.stdout, result.stderr))
        return result.stdout

    def start(self):
        self.run(os.path.join(self.bin, "initdb"), "-D", self.data, "-A", "trust", "-U", "postgres", "-E", "UTF8",
                 "--locale=C", "--no-sync")
        self.started = True
        self.run(os.path.join(self.bin, "pg_ctl"), "-D", self.data, "-w", "-l", os.path.join(self.folder, "server.log"),
                 "-o", "-c listen_addresses='' -c unix_socket_directories='%s' -c fsync=off" % self.folder, "start")

    def psql(self, database, sql):
        return self.run("psql", "-h", self.folder, "-U", "postgres", "-d", database, "-X", "-A", "-t",
                        "-v", "ON_ERROR_STOP=1", "-c", sql)

    def connection(self, database):
        return "PG:host=%s user=postgres dbname=%s" % (self.folder, database)

    def stop(self):
        if self.started:
            subprocess.run(self.as_user + [os.path.join(self.bin, "pg_ctl"), "-D", self.data, "-m", "immediate", "stop"],
                           capture_output=True, cwd=self.folder)
        shutil.rmtree(self.folder, ignore_errors=True)


def load_and_query(cluster, sample, path):
    database = sample.replace("-", "_")
    cluster.psql("postgres", "CREATE DATABASE %s" % database)
    cluster.psql(database, "CREATE EXTENSION postgis")
    result = subprocess.run(["ogr2ogr", "-f", "PostgreSQL", cluster.connection(database), path,
                             "-lco", "LAUNDER=NO", "-preserve_fid"], capture_output=True, text=True)
    check(result.returncode == 0, "%s: ogr2ogr -f PostgreSQL: %s" % (sample, result.stderr[-2000:]))

    ds = gdal.OpenEx(path, gdal.OF_VECTOR)
    for layer in (ds.GetLayer(i) for i in range(ds.GetLayerCount())):
        table = '"%s"' % layer.GetName()
        count = cluster.psql(database, "SELECT count(*) FROM %s" % table).strip()
        check(count == str(layer.GetFeatureCount()), "%s: %s has %s rows, the layer %d features" % (
            sample, table, count, layer.GetFeatureCount()))
        # every value of the first text column and every geometry, row by row
        defn = layer.GetLayerDefn()
        text = next((defn.GetFieldDefn(i).GetName() for i in range(defn.GetFieldCount())
                     if defn.GetFieldDefn(i).GetType() == ogr.OFTString), None)
        rows = cluster.psql(database, 'SELECT ogc_fid, coalesce("%s", \'(null)\'), ST_AsText(wkb_geometry) '
                                      'FROM %s ORDER BY ogc_fid' % (text, table)).splitlines()
        expected = sorted((f.GetFID(), f.GetField(text) if f.IsFieldSetAndNotNull(text) else "(null)",
                           f.GetGeometryRef().ExportToIsoWkt()) for f in layer)
        got = [tuple(row.split("|", 2)) for row in rows]
        check([(str(fid), value) for fid, value, _ in expected] == [(fid, value) for fid, value, _ in got],
              "%s: %s holds %r" % (sample, table, got[:3]))
        kind = lambda wkt: wkt.split("(")[0].split(" ")[0]  # a mixed layer's column gives every row a z
        for (fid, _, wkt), (_, _, stored) in zip(expected, got):
            check(kind(stored) == kind(wkt), "%s: %s/%d stored as %s, read as %s" % (sample, table, fid, stored, wkt))
    return database


def main():
    samples = sys.argv[1]
    cluster = Cluster()
    try:
        cluster.start()
        load_and_query(cluster, "building-site", os.path.join(samples, "building-site.tlx"))
        database = load_and_query(cluster, "damaged-survey", os.path.join(samples, "damaged-survey.tlx"))
        # a Cyrillic value, asked for in Cyrillic
        owner = cluster.psql(database, 'SELECT "Порода" FROM "Озеленение" WHERE "Порода" = \'клён\'').strip()
        check(owner == "клён", "damaged-survey: the maple is %r" % owner)
        kinds = cluster.psql("building_site", 'SELECT DISTINCT GeometryType(wkb_geometry) FROM "Растительность" '
                                              'ORDER BY 1').split()
        check(kinds == ["CURVEPOLYGON", "POINT"], "building-site: plants stored as %r" % kinds)
    except RuntimeError as failure:
        check(False, str(failure))
    finally:
        cluster.stop()
    check(not os.path.exists(cluster.folder), "the cluster's folder is left behind")
    finish("PostGIS: both samples loaded and queried")


main()
