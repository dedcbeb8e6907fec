"""vemra-cli nearest, and lookup and nearest over a points file: answers,
JSON Lines, exit statuses and bad input."""

import csv
import json
import math
import re
import struct
import subprocess

from cli_support import CLI, CliTestCase, SAMPLE, SANITIZED, run_cli

RADIUS_KM = 6371.0088
SILVER_KING = (39.63718, -117.05204)  # mine 1 of the sample


def great_circle_km(a, b):
    p1, p2 = math.radians(a[0]), math.radians(b[0])
    dp, dl = p2 - p1, math.radians(b[1] - a[1])
    h = math.sin(dp / 2) ** 2 + math.cos(p1) * math.cos(p2) * math.sin(dl / 2) ** 2
    return 2 * RADIUS_KM * math.asin(math.sqrt(h))


def single(value):
    return struct.unpack("<f", struct.pack("<f", value))[0]


def sample_positions():
    """Index -> (latitude, longitude) as stored: single precision, blanks as 0."""
    with open(SAMPLE, newline="", encoding="cp1252") as f:
        rows = list(csv.reader(f))
    lat, lon = rows[0].index("LATITUDE"), rows[0].index("LONGITUDE")
    return {i: (single(float(row[lat] or 0)), single(float(row[lon] or 0)))
            for i, row in enumerate(rows[1:], 1)}


def expected_nearest(point, count):
    """(index, distance) of the `count` nearest sample mines, by a plain scan."""
    ranked = sorted((great_circle_km(point, at), i) for i, at in sample_positions().items())
    return [(i, d) for d, i in ranked[:count]]


def json_lines(run):
    return [json.loads(line) for line in run.out.splitlines()]


class NearestTest(CliTestCase):
    def test_nearest_first_with_distance_bearing_and_main_page(self):
        # One degree of latitude south of Silver King.
        point = (SILVER_KING[0] - 1, SILVER_KING[1])
        answers = self.run_ok("nearest", SAMPLE, *point, "-n", "3", "--json").json()
        self.assertEqual(list(answers[0]), ["index", "distance_km", "bearing_deg", "main_page"])
        expected = expected_nearest(point, 3)
        self.assertEqual([a["index"] for a in answers], [i for i, _ in expected])
        for answer, (_, km) in zip(answers, expected):
            self.assertAlmostEqual(answer["distance_km"], km, delta=0.0006)
            self.assertEqual(answer["distance_km"], round(answer["distance_km"], 3))
            self.assertTrue(0 <= answer["bearing_deg"] < 360)
        self.assertEqual(answers[0]["main_page"]["name"], "Round Mountain Pit")
        # Exactly 1 degree of latitude (the stored single-precision latitude
        # is 39.637180328...: 1.3e-7 degrees more).
        north = self.run_ok("nearest", SAMPLE, point[0], "-117.05204", "-n", "30",
                            "--json").json()
        king = next(a for a in north if a["index"] == 1)
        self.assertEqual(king["distance_km"], 111.195)
        self.assertEqual(king["bearing_deg"], 0.0)

    def test_text_form(self):
        run = self.run_ok("nearest", SAMPLE, *SILVER_KING, "-n", "2")
        lines = run.out.split("\n")
        self.assertRegex(lines[0], r"^1\. 0\.000 km, bearing \d+\.\d, mine 1$")
        self.assertEqual(lines[1], "Main Page")
        self.assertIn("  Name:        Silver King Mine", lines)
        # The headings show the answers' own distances and bearings.
        answers = self.run_ok("nearest", SAMPLE, *SILVER_KING, "-n", "2", "--json").json()
        headings = ["%d. %.3f km, bearing %.1f, mine %d" % (i + 1, a["distance_km"],
                                                          a["bearing_deg"], a["index"])
                    for i, a in enumerate(answers)]
        self.assertEqual([line for line in lines if line[:3] in ("1. ", "2. ")], headings)

    def test_within_and_count_beyond_the_mines(self):
        answers = self.run_ok("nearest", SAMPLE, *SILVER_KING, "--within", "10",
                              "--json").json()
        self.assertEqual([a["index"] for a in answers], [1, 2])
        run = run_cli("nearest", SAMPLE, *SILVER_KING, "-n", "1000", "--json")
        self.assertEqual(run.status, 0, run)
        self.assertEqual(len(run.json()), 35)
        self.assertIn("more than the 35 mines", run.err)
        # Asking for exactly every mine is no shortfall.
        run = self.run_ok("nearest", SAMPLE, *SILVER_KING, "-n", "35", "--json")
        self.assertEqual((len(run.json()), run.err), (35, ""))
        run = run_cli("nearest", SAMPLE, "-45", "170", "--within", "100")
        self.assertFailsCleanly(run, 1, "no mine within 100 km of -45, 170")

    def test_bad_arguments_fail_before_loading(self):
        for args, message in (
                (["1", "2", "-n", "0"], "1 or more: 0"),
                (["1", "2", "-n", "-3"], "--count"),
                (["1", "2", "-n", "2.5"], "1 or more: 2.5"),
                (["1", "2", "-n", "1e3"], "1 or more: 1e3"),
                (["1", "2", "--within", "-1"], "0 km or more: -1"),
                (["1", "2", "--within", "nan"], "0 km or more: nan"),
                (["91", "2"], "outside -90 to 90: 91"),
                (["1", "-180.5"], "outside -180 to 180"),
                (["inf", "2"], "not a decimal number: inf"),
                (["1"], "LAT and LON"),
                ([], "LAT and LON"),
                (["1", "2", "--points", "p.txt"], "excludes"),
        ):
            # A data file that does not exist: no message about it may appear.
            run = run_cli("nearest", self.path("none.csv"), *args)
            self.assertFailsCleanly(run, 2, message)
            self.assertNotIn("none.csv", run.err)


class PointsFileTest(CliTestCase):
    def test_batch_lookup_gives_what_each_lookup_gives(self):
        points = ["39.63718,-117.05204", "39.64 , -117.06", "-45,170", "41.3140,-116.2199"]
        path = self.write("p.txt", "\n".join(points) + "\n")
        run = self.run_ok("lookup", SAMPLE, "--points", path, "--sensitivity", "0.1")
        lines = json_lines(run)
        self.assertEqual([line["line"] for line in lines], [1, 2, 3, 4])
        for point, line in zip(points, lines):
            lat, lon = (s.strip() for s in point.split(","))
            self.assertEqual([line["lat"], line["lon"]], [float(lat), float(lon)])
            single = run_cli("lookup", SAMPLE, lat, lon, "--sensitivity", "0.1", "--json")
            if single.status == 1:
                self.assertIsNone(line["result"])
            else:
                self.assertEqual(line["result"], single.json())

    def test_batch_nearest_gives_what_each_nearest_gives(self):
        gpx = self.write("trip.GPX", """<?xml version="1.0"?>
<gpx version="1.1" xmlns="http://www.topografix.com/GPX/1/1">
  <wpt lat="44.9" lon="-115.3"><name>camp</name></wpt>
  <rte><rtept lat="39.6" lon="-117.1"/></rte>
  <trk><trkseg><trkpt lat="0" lon="179.9"/><trkpt lat="38.6" lon="-117.1"/></trkseg></trk>
</gpx>
""")
        run = self.run_ok("nearest", SAMPLE, "--points", gpx, "-n", "4")
        lines = json_lines(run)
        self.assertEqual([line["point"] for line in lines], [1, 2, 3, 4])
        for line in lines:
            single = self.run_ok("nearest", SAMPLE, line["lat"], line["lon"], "-n", "4",
                                 "--json").json()
            self.assertEqual(line["result"], single)
        for line in lines:
            expected = expected_nearest((line["lat"], line["lon"]), 4)
            self.assertEqual([a["index"] for a in line["result"]], [i for i, _ in expected])

    def test_standard_input_and_nothing_found(self):
        path = self.write("p.txt", "# far from every mine\n-45,170\n")
        with open(path, "rb") as f:
            proc = subprocess.run([CLI, "nearest", SAMPLE, "--points", "-", "--within", "5"],
                                  stdin=f, capture_output=True, timeout=60)
        self.assertEqual(proc.returncode, 1, proc.stderr)
        self.assertEqual(proc.stdout, b'{"line":2,"lat":-45.0,"lon":170.0,"result":[]}\n')

    def test_bad_lines_are_reported_and_the_run_goes_on(self):
        lines = ["91,0", "0,181", "nan,1", "1,inf", "1 2", "1,2,3", "", "\xff\x00\x01",
                 "39.63718,-117.05204", "9" * (10 << 20)]
        path = self.write("bad.txt", "\n".join(lines) + "\n")
        for command in ("lookup", "nearest"):
            run = run_cli(command, SAMPLE, "--points", path)
            self.assertEqual(run.status, 2, run)
            self.assertSane(run)
            got = json_lines(run)
            self.assertEqual([line["line"] for line in got], [1, 2, 3, 4, 5, 6, 8, 9, 10])
            errors = [line.get("error", "") for line in got]
            self.assertIn("latitude '91' is outside -90 to 90", errors[0])
            self.assertIn("longitude '181' is outside -180 to 180", errors[1])
            self.assertIn("not a decimal number: 'nan'", errors[2])
            self.assertIn("not a decimal number: 'inf'", errors[3])
            self.assertEqual(errors[4:6], ["expected LAT,LON"] * 2)
            self.assertIn("NUL byte", errors[6])
            self.assertTrue(got[7]["result"])
            self.assertIn("line longer than 1024 bytes", errors[8])
            self.assertIn("8 of the entries", run.err)

    def test_files_that_hold_no_points(self):
        binary = bytes(range(256)) * 64
        for leaf, data, message in (
                ("empty.txt", b"", "no points"),
                ("comments.txt", b"# only\n\n", "no points"),
                ("binary.dat", binary, "are not points"),
                ("empty.gpx", b"", "are not points"),
                ("broken.gpx", b"<gpx><wpt lat='1' lon='2'/><trk>", "are not points"),
                ("binary.gpx", binary, "are not points"),
        ):
            path = self.write(leaf, data)
            run = run_cli("nearest", SAMPLE, "--points", path)
            self.assertEqual(run.status, 2, run)
            self.assertSane(run)
            self.assertIn(message, run.err)
        lines = json_lines(run_cli("lookup", SAMPLE, "--points", self.path("broken.gpx")))
        self.assertEqual(lines[0]["point"], 1)
        self.assertIn("ends inside <trk>", lines[1]["error"])

    def test_missing_points_file_fails_before_loading(self):
        for points in (self.path("none.txt"), self.dir):
            run = run_cli("lookup", self.path("none.csv"), "--points", points)
            self.assertFailsCleanly(run, 2, points)
            self.assertNotIn("none.csv", run.err)

    def test_memory_does_not_grow_with_the_points_file(self):
        # Many points, a 10 MB line and a 30 MB comment: each answer is
        # written as it is found, and a line is kept only up to its limit.
        # (Fewer points under the sanitizers, whose quarantine keeps freed
        # memory for a while.)
        count = 3000 if SANITIZED else 300000
        path = self.write("many.txt", b"39.64,-117.06\n" * count + b"1" * (10 << 20) + b"\n" +
                          b"#" * (30 << 20) + b"\n")
        run = run_cli("nearest", SAMPLE, "--points", path, "-n", "1", timeout=300)
        self.assertEqual(run.status, 2, run)
        self.assertSane(run)  # the base allowance alone: nothing for the points file
        self.assertEqual(run.out.count("\n"), count + 1)
