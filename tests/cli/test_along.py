"""vemra-cli along: the sample mines near a route through them, checked
against a plain computation here; routes written by GPSBabel in each format;
exports in route order; bad input; a route of a million points."""

import math
import os
import shutil
import subprocess
from xml.etree import ElementTree

from cli_support import CliTestCase, SAMPLE, SANITIZED, run_cli
from test_points import RADIUS_KM, great_circle_km, sample_positions

# A trip through the sample's Nevada mines that turns back on itself.
TRIP = [(39.60, -117.10), (40.62, -116.10), (41.32, -116.22), (41.97, -117.75),
        (40.80, -117.78), (40.21, -116.67)]
WITHIN = "10"


def vector(point):
    lat, lon = math.radians(point[0]), math.radians(point[1])
    return (math.cos(lat) * math.cos(lon), math.cos(lat) * math.sin(lon), math.sin(lat))


def cross(a, b):
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])


def dot(a, b):
    return sum(x * y for x, y in zip(a, b))


def expected_along(positions, route, within):
    """{index: (distance, along, side, leg)} of the mines within `within` km
    of the legs of `route`, nearest first."""
    found = {}
    along_start = 0.0
    for leg, (a, b) in enumerate(zip(route, route[1:]), 1):
        length = great_circle_km(a, b)
        va, vb = vector(a), vector(b)
        n = cross(va, vb)
        n = tuple(x / math.sqrt(dot(n, n)) for x in n)
        for index, place in positions.items():
            p = vector(place)
            ahead, behind = dot(p, cross(n, va)), dot(p, cross(n, vb))
            if ahead >= 0 and behind <= 0:
                distance = abs(math.asin(dot(p, n))) * RADIUS_KM
                along = along_start + math.atan2(ahead, dot(p, va)) * RADIUS_KM
            else:
                to_a, to_b = great_circle_km(place, a), great_circle_km(place, b)
                distance, along = min((to_a, along_start), (to_b, along_start + length))
            side = "on" if distance < 0.001 else "left" if dot(p, n) > 0 else "right"
            if distance <= within and (index not in found or distance < found[index][0]):
                found[index] = (distance, along, side, leg)
        along_start += length
    return found


class AlongTest(CliTestCase):
    def route_file(self, leaf="trip.txt", points=TRIP):
        return self.write(leaf, "".join("%s,%s\n" % p for p in points))

    def test_mines_near_the_trip_in_the_order_it_passes_them(self):
        answers = self.run_ok("along", SAMPLE, self.route_file(), "--within", WITHIN,
                              "--json").json()
        self.assertEqual(list(answers[0]),
                         ["index", "distance_km", "along_km", "side", "leg", "main_page"])
        expected = expected_along(sample_positions(), TRIP, float(WITHIN))
        self.assertEqual(sorted(a["index"] for a in answers), sorted(expected))
        self.assertEqual([a["index"] for a in answers],
                         sorted(expected, key=lambda i: (expected[i][1], i)))
        for answer in answers:
            distance, along, side, leg = expected[answer["index"]]
            self.assertAlmostEqual(answer["distance_km"], distance, delta=0.0006)
            self.assertAlmostEqual(answer["along_km"], along, delta=0.0006)
            self.assertEqual((answer["side"], answer["leg"]), (side, leg))
        self.assertGreater(len({a["leg"] for a in answers}), 3)
        self.assertEqual({a["side"] for a in answers}, {"left", "right"})
        self.assertEqual(answers[0]["main_page"]["name"], "Jackrabbit Adit")
        text = self.run_ok("along", SAMPLE, self.route_file(), "--within", WITHIN).out
        self.assertRegex(text.split("\n")[0],
                         r"^1\. \d+\.\d{3} km (left|right), \d+\.\d{3} km along, leg 1, mine 2$")

    def test_filters_and_nothing_within_reach(self):
        answers = self.run_ok("along", SAMPLE, self.route_file(), "--within", WITHIN,
                              "--commodity", "barite", "--json").json()
        self.assertEqual([a["index"] for a in answers], [10, 9])
        run = run_cli("along", SAMPLE, self.route_file(), "--within", "0.001",
                      "--export", self.path("out.gpx"))
        self.assertFailsCleanly(run, 1, "no mine within 0.001 km")
        self.assertFalse(os.path.exists(self.path("out.gpx")))

    def test_routes_written_by_gpsbabel_give_the_same_answer(self):
        self.assertIsNotNone(shutil.which("gpsbabel"), "gpsbabel is missing: run scripts/setup.sh")
        source = self.write("source.gpx", (
            '<?xml version="1.0"?>\n<gpx version="1.1" creator="test" '
            'xmlns="http://www.topografix.com/GPX/1/1"><rte><name>trip</name>%s</rte></gpx>\n'
        ) % "".join('<rtept lat="%s" lon="%s"/>' % p for p in TRIP))

        def babel(args, leaf):
            subprocess.run(["gpsbabel"] + args + ["-F", self.path(leaf)], check=True,
                           capture_output=True, timeout=60)
            return self.path(leaf)

        track = babel(["-i", "gpx", "-f", source, "-x", "transform,trk=rte,del", "-o", "gpx"],
                      "track.gpx")
        routes = [self.route_file(),
                  babel(["-r", "-i", "gpx", "-f", source, "-o", "gpx"], "route.gpx"), track,
                  babel(["-t", "-i", "gpx", "-f", track, "-o", "ozi"], "track.plt"),
                  babel(["-r", "-i", "gpx", "-f", source, "-o", "ozi"], "route.rte")]
        self.assertIn(b"<trkpt", self.read(track))
        outputs = {route: self.run_ok("along", SAMPLE, route, "--within", WITHIN, "--json").out
                   for route in routes}
        self.assertEqual(len(set(outputs.values())), 1, outputs)

    def test_gaps_between_routes_and_segments_are_no_legs(self):
        # Two routes, end to start far apart: a mine beside the gap is not near.
        first, second = [(39.60, -117.10), (39.70, -117.00)], [(38.60, -117.20), (38.50, -117.00)]
        gpx = self.write("two.gpx", "<gpx>%s</gpx>" % "".join(
            "<rte>%s</rte>" % "".join('<rtept lat="%s" lon="%s"/>' % p for p in part)
            for part in (first, second)))
        answers = self.run_ok("along", SAMPLE, gpx, "--within", "20", "--json").json()
        self.assertEqual([a["leg"] for a in answers], [1, 1, 2, 2])
        self.assertEqual([a["index"] for a in answers], [2, 1, 30, 31])

    def test_export_writes_the_mines_in_route_order(self):
        order = [a["index"] for a in self.run_ok("along", SAMPLE, self.route_file(), "--within",
                                                 WITHIN, "--json").json()]
        positions = sample_positions()
        expected = [(round(positions[i][0], 4), round(positions[i][1], 4)) for i in order]
        for leaf in ("out.gpx", "out.KML", "out.wpt", "out.pnt"):
            out = self.path(leaf)
            self.run_ok("along", SAMPLE, self.route_file(), "--within", WITHIN, "--export", out)
            data = self.read(out).decode("cp1252")
            if leaf.endswith("gpx"):
                written = [(w.get("lat"), w.get("lon"))
                           for w in ElementTree.fromstring(data).findall(".//{*}wpt")]
            elif leaf.endswith("KML"):
                written = [tuple(reversed(p.findtext(".//{*}coordinates").split(",")[:2]))
                           for p in ElementTree.fromstring(data).findall(".//{*}Placemark")]
            else:
                rows = [line.split(",") for line in data.split("\r\n")[4:] if line]
                written = [(r[2], r[3]) if leaf.endswith("wpt") else (r[0], r[1])
                           for r in rows if len(r) > 7]
            self.assertEqual([(round(float(a), 4), round(float(b), 4)) for a, b in written],
                             expected, leaf)

    def test_bad_input_fails_before_any_file_is_written(self):
        trip = self.route_file()
        out = self.path("out.gpx")
        for args, message in (
                (["--within", "-1"], "--within"), (["--within", "abc"], "--within"),
                (["--within", "1000.5"], "--within"), ([], "--within"),
                (["--within", "5", "--export", self.path("out.txt")], "--export"),
        ):
            run = run_cli("along", SAMPLE, trip, *args)
            self.assertFailsCleanly(run, 2, message)
        for leaf, text, message in (
                ("one.txt", "39.6,-117.1\n", "fewer than two points"),
                ("same.txt", "39.6,-117.1\n39.6,-117.1\n", "no leg"),
                ("bad.txt", "39.6,-117.1\n# note\n39.7,east\n", "line 3: longitude"),
                ("bad.gpx", "<gpx><rte><rtept lat='1' lon='2'/><rtept lat='x'", "point 2"),
                ("bad.plt", "OziExplorer Track Point File Version 2.1\n", "fewer than two"),
                ("bad.rte", "not a route\n", "line 1: not an OziExplorer route file"),
        ):
            run = run_cli("along", SAMPLE, self.write(leaf, text), "--within", "5",
                          "--export", out)
            self.assertFailsCleanly(run, 2, leaf, message)
        run = run_cli("along", self.path("none.csv"), self.path("none.txt"), "--within", "5")
        self.assertFailsCleanly(run, 2, "cannot open route file")
        self.assertFalse(os.path.exists(out))

    def test_a_million_point_route_holds_memory_for_the_route_only(self):
        # A zigzag of short legs across the sample's region.
        count = 200_000 if SANITIZED else 1_000_000
        path = self.path("long.txt")
        with open(path, "w") as f:
            for i in range(count):
                f.write("%.6f,%.6f\n" % (38.5 + 3.5 * i / count, -117.1 + 0.02 * (i % 2)))
        run = self.run_ok("along", SAMPLE, path, "--within", "5", "--json",
                          input_size=os.path.getsize(path) * 2)
        self.assertIn(1, [a["index"] for a in run.json()])
