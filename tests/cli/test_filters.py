"""The filters of the exports (--bbox, --commodity, --state, --status, --name)
on the sample and on crafted files: which mines are written, in what order,
and what a filter that takes nothing or a malformed value does."""

import csv
import os
import re

from cli_support import UNDER_WINE, CliTestCase, SAMPLE, run_cli
from test_commands import PNT_HEADER, single


def sample_rows():
    with open(SAMPLE, encoding="cp1252", newline="") as f:
        return list(csv.DictReader(f))


def items(text):
    return [item.strip().lower() for item in text.split(",")]


def inside(row, south, west, north, east):
    try:
        lat, lon = single(float(row["LATITUDE"])), single(float(row["LONGITUDE"]))
    except ValueError:
        return False
    crossing = west > east
    in_lon = (lon >= west or lon <= east) if crossing else west <= lon <= east
    return south <= lat <= north and in_lon


class FilterTest(CliTestCase):
    def point_lines(self, *args):
        out = self.path("out.pnt")
        self.run_ok("export-pnt", *args, out)
        data = self.read(out)
        self.assertTrue(data.startswith(PNT_HEADER))
        return data[len(PNT_HEADER):].split(b"\r\n")[:-1]

    def test_each_filter_and_their_conjunction_on_the_sample(self):
        rows = sample_rows()
        every = self.point_lines(SAMPLE)
        self.assertEqual(len(every), len(rows))
        cases = [
            (["--commodity", "gold"],
             lambda r: "gold" in items(r["COM_MAJOR"]) + items(r["COM_MINOR"])
             + items(r["COM_TRACE"])),
            (["--commodity", "  ANTIMONY "],
             lambda r: "antimony" in items(r["COM_MAJOR"]) + items(r["COM_TRACE"])),
            (["--commodity", "Garnet"],
             lambda r: "garnet" in items(r["COM_MAJOR"]) + items(r["COM_MINOR"])),
            (["--state", "oregon"], lambda r: r["STATE"] == "Oregon"),
            (["--status", "producer"], lambda r: r["DEV_STAT"] == "Producer"),
            (["--status", "Past Producer"], lambda r: r["DEV_STAT"] == "Past Producer"),
            (["--name", "MINE"], lambda r: "mine" in r["SITE_NAME"].lower()),
            # The name's letter as the file holds it (code page 1252); under
            # Wine the command line carries the character itself.
            (["--name", "caf\xe9" if UNDER_WINE else os.fsdecode(b"caf\xe9")],
             lambda r: r["SITE_NAME"].startswith("Caf")),
            (["--bbox", "39,-118,41,-116.5"], lambda r: inside(r, 39, -118, 41, -116.5)),
            (["--commodity", "silver", "--state", "Idaho", "--status", "past producer",
              "--name", "o"],
             lambda r: "silver" in items(r["COM_MAJOR"]) + items(r["COM_MINOR"])
             and r["STATE"] == "Idaho" and "o" in r["SITE_NAME"].lower()),
            (["--commodity", "gold", "--bbox", "38,-120,42,-115"],
             lambda r: "gold" in items(r["COM_MAJOR"]) + items(r["COM_MINOR"])
             + items(r["COM_TRACE"]) and inside(r, 38, -120, 42, -115)),
        ]
        for args, keep in cases:
            with self.subTest(args=args):
                want = [line for line, row in zip(every, rows) if keep(row)]
                self.assertTrue(0 < len(want) < len(rows))
                self.assertEqual(self.point_lines(SAMPLE, *args), want)

    def test_letters_of_either_encoding_in_any_case(self):
        # Each text of a file is read by itself: valid UTF-8 as UTF-8, any
        # other as Windows-1252, so one file can hold both.
        data = self.write("m.csv", "SITE_NAME,LATITUDE,LONGITUDE,STATE,COM_MAJOR\n".encode()
                          + "PEÑASCO,1,1,SÃO PAULO,Éclat\n".encode("cp1252")
                          + "Peñasco Mine,2,2,São Paulo,Gold\n".encode()
                          + "Penasco,3,3,Sao Paulo,éclat\n".encode()
                          + "Œil-de-Bœuf,4,4,Brasília,ÉCLAT\n".encode("cp1252"))

        def names(*args):
            gpx = self.path("out.gpx")
            self.run_ok("export-gpx", data, gpx, *args)
            return re.findall(r"<name>(.*?)</name>", self.read(gpx).decode())

        def typed(text):
            # Windows-1252 bytes can only be typed to the native build.
            if UNDER_WINE:
                return [text]
            return [text, os.fsdecode(text.encode("cp1252"))]

        cases = [
            ("--name", "peñasco", ["PEÑASCO", "Peñasco Mine"]),
            ("--name", "œIL", ["Œil-de-Bœuf"]),
            ("--state", "são paulo", ["PEÑASCO", "Peñasco Mine"]),
            ("--commodity", "éclat", ["PEÑASCO", "Penasco", "Œil-de-Bœuf"]),
        ]
        for option, value, want in cases:
            for text in typed(value):
                with self.subTest(option=option, value=text):
                    self.assertEqual(names(option, text), want)

    def test_whole_items_only_and_the_meridian(self):
        data = self.write("m.csv", "SITE_NAME,LATITUDE,LONGITUDE,COM_MAJOR,COM_MINOR\n"
                          "Golden Eagle,52,179.5,Golden,\n"
                          "East of the line,52,-179.5,Copper,\" gold \"\n"
                          "Greenwich,52,0,\"Silver,Gold\",\n"
                          "Attu,52.9,173,,\n")
        self.assertEqual(len(self.point_lines(data, "--commodity", "GOLD")), 2)
        self.assertEqual(len(self.point_lines(data, "--commodity", "golden")), 1)
        # A west edge greater than the east edge: the box crosses 180 degrees.
        names = [line.split(b",")[3] for line in self.point_lines(data, "--bbox", "50,170,55,-170")]
        self.assertEqual(names, [b"Golden Eagle", b"East of the line", b"Attu"])
        names = [line.split(b",")[3] for line in self.point_lines(data, "--bbox", "50,179,55,-179")]
        self.assertEqual(names, [b"Golden Eagle", b"East of the line"])

    def test_archive_export_takes_the_same_mines(self):
        dat = self.path("gold.dat")
        self.run_ok("export-dat", SAMPLE, dat, "--commodity", "gold", "--state", "Nevada")
        from_dat = self.point_lines(dat)
        self.assertEqual(from_dat, self.point_lines(SAMPLE, "--commodity", "gold", "--state",
                                                    "nevada"))
        info = self.run_ok("info", dat, "--json").json()
        self.assertEqual(info["mines"], len(from_dat))
        # The waypoint exports take the same mines.
        gpx = self.path("gold.gpx")
        self.run_ok("export-gpx", SAMPLE, gpx, "--commodity", "gold", "--state", "Nevada")
        self.assertEqual(self.read(gpx).count(b"<wpt "), len(from_dat))

    def test_nearest_answers_only_what_the_filters_take(self):
        rows = sample_rows()
        gold = {i + 1 for i, r in enumerate(rows)
                if "gold" in items(r["COM_MAJOR"]) + items(r["COM_MINOR"]) + items(r["COM_TRACE"])}
        answers = self.run_ok("nearest", SAMPLE, "40", "-117", "-n", "100", "--commodity", "gold",
                              "--json").json()
        self.assertEqual({answer["index"] for answer in answers}, gold)
        run = run_cli("nearest", SAMPLE, "40", "-117", "--state", "Utah")
        self.assertEqual(run.status, 1, run)

    def test_nothing_taken_writes_nothing(self):
        for command, leaf in (("export-pnt", "old.pnt"), ("export-dat", "old.dat"),
                              ("export-gpx", "old.gpx"), ("export-kml", "old.kml"),
                              ("export-wpt", "old.wpt")):
            for args in (["--bbox", "-50,160,-40,170"], ["--state", "Utah"],
                         ["--name", "Silver King", "--state", "Oregon"]):
                with self.subTest(command=command, args=args):
                    out = self.write(leaf, b"earlier contents")
                    run = run_cli(command, SAMPLE, out, *args)
                    self.assertFailsCleanly(run, 1, "no mine matches")
                    self.assertEqual(self.read(out), b"earlier contents")
                    self.assertEqual(os.listdir(self.dir), [leaf])
                    os.remove(out)
        # A file of no mines without a filter is still written, as before.
        header = self.write("h.csv", "SITE_NAME\n")
        self.run_ok("export-pnt", header, self.path("h.pnt"))
        self.assertEqual(self.read(self.path("h.pnt")), PNT_HEADER)

    def test_malformed_values_are_usage_errors(self):
        missing = self.path("missing.csv")
        cases = [
            ("--bbox", "41,-118,39,-116", "SOUTH is above NORTH"),
            ("--bbox", "91,0,92,1", "SOUTH 91"),
            ("--bbox", "0,0,-90.5,1", "NORTH -90.5"),
            ("--bbox", "0,-181,1,1", "WEST -181"),
            ("--bbox", "0,0,1,180.01", "EAST 180.01"),
            ("--bbox", "a,b,c,d", "not a decimal number"),
            ("--bbox", "1,2,3", "four numbers"),
            ("--bbox", "1,2,3,4,5", "four numbers"),
            ("--bbox", "1,2,3,nan", "not a decimal number"),
            ("--bbox", "", "four numbers"),
            ("--commodity", "", "empty"),
            ("--commodity", " \t ", "empty"),
            ("--commodity", "gold,silver", "without commas"),
            ("--state", "", "empty"),
            ("--status", " ", "empty"),
            ("--name", "", "empty"),
        ]
        for command in ("export-pnt", "export-dat"):
            for option, value, reason in cases:
                with self.subTest(command=command, option=option, value=value):
                    out = self.write("out", b"earlier")
                    # The data file is never opened: a missing one is not reported.
                    run = run_cli(command, missing, out, option, value)
                    self.assertFailsCleanly(run, 2, option, reason)
                    self.assertNotIn("missing.csv", run.err)
                    self.assertEqual(self.read(out), b"earlier")
                    self.assertEqual(os.listdir(self.dir), ["out"])
