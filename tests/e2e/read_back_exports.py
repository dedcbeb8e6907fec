"""Reads back, with programs nobody here wrote, the waypoint files that the
end-to-end tests VemraProgram.WritesWaypointFilesOfAllMinesAndOfTheMapsMines
and FindMines.ExportWritesTheListedMinesInTheListsOrder wrote through
Vemra.exe's File menu and the "Find Mines" window's Export, in their order: xmllint finds the GPX and KML well formed,
GPSBabel reads the GPX and the OziExplorer waypoint file, ogrinfo the GPX and
the KML, each with the names and positions of the mines listed beside the file
(FILE.expected: "name<TAB>lat<TAB>lon" lines).
    read_back_exports.py FOLDER
"""

import glob
import os
import re
import subprocess
import sys
import xml.etree.ElementTree as ElementTree

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "cli"))
from test_real_readers import gpx_name, wpt_name  # noqa: E402


def tool(*args):
    result = subprocess.run(args, capture_output=True, timeout=60)
    if result.returncode != 0:
        raise AssertionError("%s: %s" % (" ".join(args), result.stderr.decode()[:2000]))
    return result.stdout


def babel_waypoints(input_format, path):
    gpx = tool("gpsbabel", "-i", input_format, "-f", path, "-o", "gpx", "-F", "-")
    return [(wpt.findtext("{*}name"), float(wpt.get("lat")), float(wpt.get("lon")))
            for wpt in ElementTree.fromstring(gpx).findall(".//{*}wpt")]


def ogr_waypoints(path):
    """(name, lat, lon) of each point feature as ogrinfo lists it."""
    listing = tool("ogrinfo", "-ro", "-al", "-q", path).decode()
    names = re.findall(r"^\s*[Nn]ame \(String\) = (.*)$", listing, re.M)
    points = re.findall(r"POINT \(([-\d.]+) ([-\d.]+)", listing)
    return [(name, float(lat), float(lon)) for name, (lon, lat) in zip(names, points)]


def check(path, expected):
    """The problems found in the file at `path`; empty when it reads back right."""
    readings = []
    if path.endswith(".gpx"):
        tool("xmllint", "--noout", path)
        readings = [("gpsbabel", babel_waypoints("gpx", path), gpx_name),
                    ("ogrinfo", ogr_waypoints(path), gpx_name)]
    elif path.endswith(".kml"):
        tool("xmllint", "--noout", path)
        readings = [("ogrinfo", ogr_waypoints(path), gpx_name)]
    else:
        readings = [("gpsbabel", babel_waypoints("ozi", path), wpt_name)]
    problems = []
    for reader, actual, as_read in readings:
        want = [(as_read(name), lat, lon) for name, lat, lon in expected]
        if [name for name, _, _ in actual] != [name for name, _, _ in want] or any(
                abs(a - b) > 1e-5 for (_, *got), (_, *wanted) in zip(actual, want)
                for a, b in zip(got, wanted)):
            problems.append("%s: %s read %s, expected %s" % (path, reader, actual, want))
    return problems


def main(folder):
    manifests = sorted(glob.glob(os.path.join(folder, "*.expected")))
    if len(manifests) < 6:
        print("read_back_exports.py: %d exports in %s, expected 6" % (len(manifests), folder))
        return 1
    problems = []
    for manifest in manifests:
        with open(manifest, encoding="utf-8") as lines:
            expected = [(name, float(lat), float(lon))
                        for name, lat, lon in (line.rstrip("\n").split("\t") for line in lines)]
        path = manifest[:-len(".expected")]
        try:
            problems += check(path, expected)
        except AssertionError as error:
            problems.append(str(error))
        print("%s: %d mines" % (os.path.basename(path), len(expected)))
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
