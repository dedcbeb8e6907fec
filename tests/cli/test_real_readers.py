"""The waypoint exports read back by programs nobody here wrote: GPSBabel reads
the GPX and the OziExplorer waypoint file with the same count, names and
coordinates, GDAL's ogrinfo counts the GPX and KML features, and xmllint finds
the XML well formed. scripts/setup.sh installs all three, so a missing one is
a failure, not a skip."""

import os
import re
import shutil
import subprocess
import xml.etree.ElementTree as ElementTree

from cli_support import CliTestCase, SAMPLE

# Site name fields as bytes in the file, with the name they hold. A comma
# needs a quoted field, whose quotes the name keeps.
NAMES = [
    (b"Smith & Sons <No. 2>", "Smith & Sons <No. 2>"),
    (b'"Bull Run, North Ext."', '"Bull Run, North Ext."'),
    (b"O'Brien \"Big\" Pit", "O'Brien \"Big\" Pit"),
    (b"Tab\there", "Tab\there"),
    (b"Caf\xe9 \x93Lode\x94 \x80", "Caf\u00e9 \u201cLode\u201d \u20ac"),  # code page 1252
    ("Z\u00fcrich \u0102ur \u20ac".encode("utf-8"), "Z\u00fcrich \u0102ur \u20ac"),  # UTF-8
    (b"Bell\x07 \x01Mine\x7f", "Bell\x07 \x01Mine\x7f"),
]
# Controls other than tab, LF and CR (and DEL) have no place in XML.
XML_DROPPED = re.compile("[\x00-\x08\x0b\x0c\x0e-\x1f\x7f-\x9f]")
# A waypoint file line has no room for any control character.
WPT_DROPPED = re.compile("[\x00-\x1f\x7f]")


def gpx_name(text):
    return XML_DROPPED.sub("", text)


def wpt_name(text):
    """As GPSBabel reads the waypoint file back: code page 1252, with the
    comma stand-in 0xD1 shown as what that byte is, and '?' for characters
    the code page lacks."""
    text = WPT_DROPPED.sub("", text).replace(",", "\u00d1")
    return text.encode("cp1252", "replace").decode("cp1252")


class RealReadersTest(CliTestCase):
    def setUp(self):
        super().setUp()
        for tool in ("gpsbabel", "ogrinfo", "xmllint"):
            self.assertIsNotNone(shutil.which(tool), "%s is missing: run scripts/setup.sh" % tool)
        lines = [b"DEP_ID,SITE_NAME,LATITUDE,LONGITUDE,STATE,COM_MAJOR,DEV_STAT"]
        self.expected = []
        for i, (name, text) in enumerate(NAMES):
            latitude, longitude = 10.5 + i, -120.25 + i / 8
            lines.append(b"%d,%s,%s,%s,Nev&da,\"Gold, <Silver>\",Producer" % (
                1000 + i, name, str(latitude).encode(), str(longitude).encode()))
            self.expected.append((text, latitude, longitude))
        # No place on the globe: left out of every waypoint file.
        lines.append(b"9,Nowhere,95.0,10.0,,,")
        self.data = self.write("mines.csv", b"\r\n".join(lines) + b"\r\n")

    def export(self, command, leaf):
        out = self.path(leaf)
        run = self.run_ok(command, self.data, out)
        self.assertIn("1 mine(s) left out", run.err)
        return out

    def tool(self, *args):
        result = subprocess.run(args, capture_output=True, timeout=60)
        self.assertEqual(result.returncode, 0, "%s: %s" % (args, result.stderr[:2000]))
        return result.stdout

    def babel_waypoints(self, input_format, path):
        """(name, lat, lon) of each waypoint as GPSBabel reads `path`."""
        gpx = self.tool("gpsbabel", "-i", input_format, "-f", path, "-o", "gpx", "-F", "-")
        return [(wpt.findtext("{*}name"), float(wpt.get("lat")), float(wpt.get("lon")))
                for wpt in ElementTree.fromstring(gpx).findall(".//{*}wpt")]

    def assertWaypoints(self, actual, to_reader_text):
        self.assertEqual([name for name, _, _ in actual],
                         [to_reader_text(text) for text, _, _ in self.expected])
        for (_, lat, lon), (_, want_lat, want_lon) in zip(actual, self.expected):
            self.assertAlmostEqual(lat, want_lat, places=5)
            self.assertAlmostEqual(lon, want_lon, places=5)

    def ogr_feature_count(self, path):
        summary = self.tool("ogrinfo", "-ro", "-al", "-so", path).decode()
        return sum(int(n) for n in re.findall(r"Feature Count: (\d+)", summary))

    def test_gpx(self):
        gpx = self.export("export-gpx", "mines.gpx")
        self.tool("xmllint", "--noout", gpx)
        self.assertWaypoints(self.babel_waypoints("gpx", gpx), gpx_name)
        self.assertEqual(self.ogr_feature_count(gpx), len(NAMES))
        first = ElementTree.parse(gpx).getroot().find("{*}wpt")
        self.assertEqual(first.findtext("{*}desc"), "Gold, <Silver>; Producer; Nev&da")
        self.assertEqual(first.find("{*}link").get("href"),
                         "https://mrdata.usgs.gov/mrds/show-mrds.php?dep_id=1000")

    def test_kml(self):
        kml = self.export("export-kml", "mines.kml")
        self.tool("xmllint", "--noout", kml)
        self.assertEqual(self.ogr_feature_count(kml), len(NAMES))
        names = [p.findtext("{*}name") for p in ElementTree.parse(kml).getroot().findall(
            ".//{*}Placemark")]
        self.assertEqual(names, [gpx_name(text) for text, _, _ in self.expected])

    def test_ozi_waypoints(self):
        wpt = self.export("export-wpt", "mines.wpt")
        self.assertWaypoints(self.babel_waypoints("ozi", wpt), wpt_name)

    def test_sample_in_every_format(self):
        for command, leaf in (("export-gpx", "s.gpx"), ("export-kml", "s.kml")):
            out = self.path(leaf)
            self.run_ok(command, SAMPLE, out)
            self.tool("xmllint", "--noout", out)
            self.assertEqual(self.ogr_feature_count(out), 35)
        out = self.path("s.wpt")
        self.run_ok("export-wpt", SAMPLE, out)
        self.assertEqual(len(self.babel_waypoints("ozi", out)), 35)
