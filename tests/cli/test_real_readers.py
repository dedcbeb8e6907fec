"""The exports read back by programs nobody here wrote: GPSBabel reads the GPX
and the OziExplorer waypoint file with the same count, names and coordinates
and knows the GPX symbol as a Garmin one, GDAL's ogrinfo counts the GPX and
KML features and sees each placemark's style, and xmllint finds the XML well
formed. scripts/setup.sh installs all three, so a missing one is a failure,
not a skip. The point file is checked byte for byte."""

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
# Development statuses in turn, with the KML style each is drawn in.
STATUSES = [("Producer", "producer"), ("Past Producer", "past-producer"),
            ("prospect", "prospect"), ("Occurrence", "occurrence"), ("Plant", "other-status"),
            ("", "no-status")]
# Controls other than tab, LF and CR (and DEL) have no place in XML.
XML_DROPPED = re.compile("[\x00-\x08\x0b\x0c\x0e-\x1f\x7f-\x9f]")
# A waypoint file line has no room for any control character.
WPT_DROPPED = re.compile("[\x00-\x1f\x7f]")


def gpx_name(text):
    return XML_DROPPED.sub("", text)


def in_cp1252(text):
    try:
        text.encode("cp1252")
        return True
    except UnicodeEncodeError:
        return False


def pnt_name(text):
    """The bytes of a point file's name: code page 1252 with '?' for what it
    lacks, the comma stand-in 0xD1, spaces for CR and LF."""
    text = text.replace(",", "\u00d1").replace("\r", " ").replace("\n", " ")
    return text.encode("cp1252", "replace")


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
        self.expected = [(text, 10.5 + i, -120.25 + i / 8) for i, (_, text) in enumerate(NAMES)]
        self.data = self.write_mines("mines.csv", [name for name, _ in NAMES])

    def write_mines(self, leaf, names):
        lines = [b"DEP_ID,SITE_NAME,LATITUDE,LONGITUDE,STATE,COM_MAJOR,DEV_STAT"]
        for i, name in enumerate(names):
            latitude, longitude = 10.5 + i, -120.25 + i / 8
            status = STATUSES[i % len(STATUSES)][0].encode()
            lines.append(b"%d,%s,%s,%s,Nev&da,\"Gold, <Silver>\",%s" % (
                1000 + i, name, str(latitude).encode(), str(longitude).encode(), status))
        # No place on the globe: left out of every waypoint file, not of the point file.
        lines.append(b"9,Nowhere,95.0,10.0,,,")
        # Beyond any float: left out of every file.
        lines.append(b"10,Infinity,1e39,10.0,,,")
        return self.write(leaf, b"\r\n".join(lines) + b"\r\n")

    def export(self, command, leaf):
        out = self.path(leaf)
        run = self.run_ok(command, self.data, out)
        self.assertIn("2 mine(s) left out: their coordinates are not a place on the globe",
                      run.err)
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
        # The schema's order: ... link, sym, type.
        self.assertEqual([child.tag.split("}")[1] for child in first],
                         ["name", "desc", "link", "sym", "type"])
        fields = self.tool("ogrinfo", "-ro", "-al", gpx, "waypoints").decode()
        self.assertEqual(re.findall(r"sym \(String\) = (.*)", fields), ["Mine"] * len(NAMES))
        # GPSBabel's Garmin table knows the symbol (an unknown one would read "Waypoint").
        garmin = self.tool("gpsbabel", "-i", "gpx", "-f", gpx, "-o", "garmin_txt", "-F", "-")
        rows = [row.split(b"\t") for row in garmin.split(b"\n") if row.startswith(b"Waypoint\t")]
        self.assertEqual([row.count(b"Mine") for row in rows], [1] * len(NAMES))

    def test_kml(self):
        kml = self.export("export-kml", "mines.kml")
        self.tool("xmllint", "--noout", kml)
        self.assertEqual(self.ogr_feature_count(kml), len(NAMES))
        names = [p.findtext("{*}name") for p in ElementTree.parse(kml).getroot().findall(
            ".//{*}Placemark")]
        self.assertEqual(names, [gpx_name(text) for text, _, _ in self.expected])
        # Each style defined once, before the placemarks, and named by each.
        document = ElementTree.parse(kml).getroot().find("{*}Document")
        ids = [style.get("id") for style in document.findall("{*}Style")]
        # No type code, no production year, a state alone: the form "x02".
        self.assertEqual(sorted(ids), sorted(style + "-x02" for _, style in STATUSES))
        placemarks = [(i, child) for i, child in enumerate(document)
                      if child.tag.endswith("Placemark")]
        self.assertLess(max(i for i, child in enumerate(document)
                            if child.tag.endswith("}Style")), placemarks[0][0])
        want = ["@" + STATUSES[i % len(STATUSES)][1] + "-x02" for i in range(len(NAMES))]
        fields = self.tool("ogrinfo", "-ro", "-al", kml).decode()
        self.assertEqual(re.findall(r"^  Style = (.*)$", fields, re.M), want)
        # Every field an attribute under its MRDS name; empty ones left out.
        self.assertEqual(re.findall(r"^  COM_MAJOR \(String\) = (.*)$", fields, re.M),
                         ["Gold, <Silver>"] * len(NAMES))
        self.assertEqual(re.findall(r"^  LATITUDE \(String\) = (.*)$", fields, re.M),
                         ["%.6f" % latitude for _, latitude, _ in self.expected])
        self.assertNotIn("COUNTY (String)", fields)
        resolved = self.tool("ogrinfo", "--config", "LIBKML_RESOLVE_STYLE", "YES", "-ro", "-al",
                             kml).decode()
        colors = re.findall(r"^  Style = SYMBOL\(.*c:(#[0-9A-F]+)\)$", resolved, re.M)
        self.assertEqual(len(colors), len(NAMES))
        self.assertEqual(len(set(colors)), len(STATUSES))

    def test_comma_separated(self):
        out = self.path("mines.csv.out")
        self.run_ok("export-csv", self.data, out)
        # GDAL reads each text and position as it reads them from the data file
        # (where it drops the quotes inside an unquoted name, as here).
        def ogr_fields(path):
            return self.tool("ogrinfo", "-ro", "-al", "-oo", "X_POSSIBLE_NAMES=LONGITUDE", "-oo",
                             "Y_POSSIBLE_NAMES=LATITUDE", "CSV:" + path).decode("utf-8", "replace")
        fields = ogr_fields(out)
        self.assertEqual(re.findall(r"^  COM_MAJOR \(String\) = (.*)$", fields, re.M),
                         ["Gold, <Silver>"] * len(NAMES) + ["", ""])
        names = re.findall(r"^  SITE_NAME \(String\) = (.*)$", fields, re.M)
        self.assertEqual(names[:3],
                         ["Smith & Sons <No. 2>", "Bull Run, North Ext.", "O'Brien Big Pit"])
        self.assertEqual(names[4], "Caf\u00e9 \u201cLode\u201d \u20ac")
        from_data = re.findall(r"^  SITE_NAME \(String\) = (.*)$", ogr_fields(self.data), re.M)
        # The data file holds one name in code page 1252, which GDAL does not decode.
        self.assertEqual(names[:4] + names[5:], from_data[:4] + from_data[5:])
        points = re.findall(r"^  POINT \((\S+) (\S+)\)$", fields, re.M)[:len(NAMES)]
        self.assertEqual([(float(lat), float(lon)) for lon, lat in points],
                         [(lat, lon) for _, lat, lon in self.expected])
        # Vemra reads back the same mines: every export of them is the same.
        for command in ("export-pnt", "export-gpx", "export-kml", "export-wpt", "export-csv"):
            self.run_ok(command, self.data, self.path("a.out"))
            self.run_ok(command, out, self.path("b.out"))
            self.assertEqual(self.read(self.path("a.out")), self.read(self.path("b.out")),
                             command)

    def test_point_file(self):
        out = self.path("mines.pnt")
        run = self.run_ok("export-pnt", self.data, out)
        self.assertEqual(run.err.strip(),
                         "vemra-cli: 1 mine(s) left out: their coordinates are not finite numbers")
        lines = self.read(out).split(b"\r\n")[5:-1]
        want = [b"%.6f,%.6f,0,%s,,,,-777.0" % (latitude, longitude, pnt_name(text))
                for text, latitude, longitude in self.expected]
        self.assertEqual(lines, want + [b"95.000000,10.000000,0,Nowhere,,,,-777.0"])

    def test_either_encoding_gives_the_same_files(self):
        names = [text for _, text in NAMES if in_cp1252(text)] + ["Up\rper\r"]
        cp1252 = self.write_mines("cp1252.csv", [text.encode("cp1252") for text in names])
        utf8 = self.write_mines("utf8.csv", [text.encode("utf-8") for text in names])
        files = {}
        for command in ("export-pnt", "export-gpx", "export-kml", "export-wpt"):
            self.run_ok(command, cp1252, self.path("a.out"))
            self.run_ok(command, utf8, self.path("b.out"))
            files[command] = self.read(self.path("a.out"))
            self.assertEqual(files[command], self.read(self.path("b.out")), command)
        # A CR inside a name would end the line of the line-based files.
        self.assertIn(b",0,Up per ,,,,-777.0\r\n", files["export-pnt"])
        self.assertIn(b",Up per ,", files["export-wpt"])

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
