"""The failure list shared by the GDAL driver's read-back scripts: every check
runs, each failure is printed, and finish() exits 1 when there was one."""
import sys

FAILURES = []


def check(condition, message):
    if not condition:
        FAILURES.append(message)
        print("FAIL:", message)
    return condition


def finish(summary):
    if FAILURES:
        print("%d failures" % len(FAILURES))
        sys.exit(1)
    print(summary)
