"""Comma-separated files a user could really meet, through every command.

Each case: the outcome the reader defines, no crash, no hang, peak memory
bounded by the file's size, the data file unchanged, and an existing output
file replaced only by a complete one."""

import os
import re
import struct

from cli_support import MEMORY_BASE, CliTestCase, run_cli
from test_commands import COLUMNS, PNT_HEADER

HEADER = "DEP_ID,SITE_NAME,LATITUDE,LONGITUDE,COUNTRY,REF\n"


def single(value):
    return struct.unpack("<f", struct.pack("<f", value))[0]


class BadCsvCase(CliTestCase):
    def load_everywhere(self, leaf, content):
        """Runs info, lookup, both exports on the file; returns info's JSON.
        The data file stays as it was and the exports write whole files."""
        data = self.write(leaf, content)
        size = os.path.getsize(data)
        before = self.read(data)
        info = run_cli("info", data, "--json")
        self.assertEqual(info.status, 0, info)
        self.assertSane(info, size)
        result = info.json()
        self.assertEqual(result["format"], "csv")

        run = run_cli("lookup", data, "0", "0", "--sensitivity", "1000", "--json")
        self.assertIn(run.status, (0, 1), run)
        self.assertSane(run, size)
        if run.status == 0:
            mine = run.json()
            self.assertEqual(list(mine["fields"]), COLUMNS)

        pnt = self.write("out.pnt", b"previous point file")
        run = run_cli("export-pnt", data, pnt)
        self.assertEqual(run.status, 0, run)
        self.assertSane(run, size)
        written = self.read(pnt)
        self.assertTrue(written.startswith(PNT_HEADER))
        # Every mine but those without finite coordinates, which stderr counts.
        left_out = re.findall(r"(\d+) mine\(s\) left out: their coordinates are not finite", run.err)
        result["left_out"] = sum(int(count) for count in left_out)
        self.assertEqual(written.count(b"\r\n"), 5 + result["mines"] - result["left_out"])

        dat = self.write("out.dat", b"previous archive")
        run = run_cli("export-dat", data, dat)
        self.assertEqual(run.status, 0, run)
        self.assertSane(run, size)
        again = run_cli("info", dat, "--json")
        self.assertEqual(again.status, 0, again)
        self.assertEqual(again.err, "")
        self.assertLessEqual(again.json()["mines"], result["mines"])

        self.assertEqual(self.read(data), before)
        self.assertEqual(sorted(os.listdir(self.dir)), sorted([leaf, "out.pnt", "out.dat"]))
        return result

    def lookup(self, leaf, lat, lon):
        run = run_cli("lookup", self.path(leaf), lat, lon, "--json")
        self.assertEqual(run.status, 0, run)
        return run.json()["fields"]


class EmptyAndHeaderTest(BadCsvCase):
    def test_empty_file(self):
        info = self.load_everywhere("empty.csv", "")
        self.assertEqual((info["mines"], info["columns"]), (0, []))
        run = run_cli("lookup", self.path("empty.csv"), "0", "0")
        self.assertFailsCleanly(run, 1)

    def test_only_a_header(self):
        for ending in ("", "\n", "\r\n", "\n\n\nrow,after,an,empty,line\n"):
            info = self.load_everywhere("h.csv", HEADER.rstrip("\n") + ending)
            self.assertEqual(info["mines"], 0)
            self.assertEqual(info["columns"],
                             ["DEP_ID", "SITE_NAME", "LATITUDE", "LONGITUDE", "COUNTRY", "REF"])
            # The header row is element 0, which no lookup finds.
            self.assertFailsCleanly(run_cli("lookup", self.path("h.csv"), "0", "0"), 1)

    def test_byte_order_mark_hides_the_first_name(self):
        info = self.load_everywhere("bom.csv", "\xef\xbb\xbf" + HEADER + "5,Mine,1,2,US,r\n")
        self.assertEqual(info["mines"], 1)
        self.assertNotIn("DEP_ID", info["columns"])
        self.assertIn("SITE_NAME", info["columns"])
        fields = self.lookup("bom.csv", "1", "2")
        self.assertEqual((fields["DEP_ID"], fields["SITE_NAME"]), (0, "Mine"))

    def test_quoted_header_names_and_numbers(self):
        content = ('"DEP_ID","SITE_NAME","LATITUDE","LONGITUDE","REF"\n'
                   '"12","Mine","33.25","-111.5","a ""b"""\n')
        info = self.load_everywhere("q.csv", content)
        self.assertEqual(info["columns"], ["DEP_ID", "SITE_NAME", "LATITUDE", "LONGITUDE", "REF"])
        fields = self.lookup("q.csv", "33.25", "-111.5")
        self.assertEqual(fields["DEP_ID"], 12)
        self.assertEqual(fields["SITE_NAME"], '"Mine"')
        self.assertEqual(fields["REF"], "a b")

    def test_carriage_returns_only(self):
        # A lone carriage return is no line end: the whole file is the header.
        info = self.load_everywhere("cr.csv", HEADER.replace("\n", "\r") + "1,a,1,2,US,r\r")
        self.assertEqual(info["mines"], 0)
        self.assertEqual(info["columns"], ["DEP_ID", "SITE_NAME", "LATITUDE", "LONGITUDE",
                                           "COUNTRY"])


class HugeInputTest(BadCsvCase):
    """Generated at test time: ten megabytes in one line, 100,000 fields."""

    def test_line_of_ten_megabytes(self):
        name = "N" * 10_000_000
        content = HEADER + "1," + name + ",3,4,US,r\n2,Short,5,6,US,r\n"
        info = self.load_everywhere("long.csv", content)
        self.assertEqual(info["mines"], 2)
        self.assertEqual(self.lookup("long.csv", "5", "6")["SITE_NAME"], "Short")
        self.assertEqual(len(self.lookup("long.csv", "3", "4")["SITE_NAME"]), len(name))
        pnt = self.read(self.path("out.pnt"))
        self.assertIn(b"3.000000,4.000000,0," + name.encode() + b",,,,-777.0\r\n", pnt)

    def test_quoted_field_of_ten_megabytes_never_closed(self):
        content = HEADER + '1,Mine,3,4,US,"' + "x,y" * 3_400_000 + "\n2,Next,5,6,US,r\n"
        info = self.load_everywhere("unclosed.csv", content)
        self.assertEqual(info["mines"], 2)
        ref = self.lookup("unclosed.csv", "3", "4")["REF"]
        self.assertEqual(len(ref), 3 * 3_400_000)

    def test_hundred_thousand_fields(self):
        extra = ",".join("f%d" % i for i in range(100_000))
        content = HEADER.rstrip("\n") + "," + extra + ",DISCR\n"
        content += "7,Wide,8,9,US,r," + extra + ",last\n"
        content += "8,Narrow,10,11\n"
        info = self.load_everywhere("wide.csv", content)
        self.assertEqual(info["mines"], 2)
        self.assertIn("DISCR", info["columns"])
        fields = self.lookup("wide.csv", "8", "9")
        self.assertEqual((fields["DEP_ID"], fields["DISCR"]), (7, "last"))
        fields = self.lookup("wide.csv", "10", "11")
        self.assertEqual((fields["SITE_NAME"], fields["DISCR"], fields["REF"]), ("Narrow", "", ""))

    def test_ten_million_separators(self):
        content = HEADER + "1,Mine,3,4,US,r" + "," * 10_000_000 + "\n" + "," * 10_000_000 + "\n"
        info = self.load_everywhere("commas.csv", content)
        self.assertEqual(info["mines"], 2)
        self.assertEqual(self.lookup("commas.csv", "3", "4")["REF"], "r")

    def test_column_after_ten_million_separators(self):
        # The fields between are measured, not kept: memory stays near the
        # file's own size.
        gap = "," * 10_000_000
        content = "DEP_ID,SITE_NAME,LATITUDE,LONGITUDE" + gap + "REF\n" + "1,Far,3,4" + gap + "r\n"
        self.load_everywhere("far.csv", content)
        data = self.path("far.csv")
        size = os.path.getsize(data)
        run = run_cli("info", data, "--json")
        self.assertSane(run, size)
        self.assertLessEqual(run.max_rss, MEMORY_BASE + 4 * size, run)
        self.assertEqual(self.lookup("far.csv", "3", "4")["REF"], "r")

    def test_wide_header(self):
        header = ",".join("c%d" % i for i in range(1, 999)) + ",SITE_NAME,LATITUDE,LONGITUDE\n"
        row = ",".join(str(i) for i in range(1, 999)) + ",Column 999,7,8\n"
        info = self.load_everywhere("c999.csv", header + row)
        self.assertEqual(info["columns"], ["SITE_NAME", "LATITUDE", "LONGITUDE"])
        self.assertEqual(self.lookup("c999.csv", "7", "8")["SITE_NAME"], "Column 999")


class OddBytesTest(BadCsvCase):
    def test_nul_bytes(self):
        content = HEADER + "1,Mi\x00ne,1\x002,3,U\x00S,\x00\n\x00\n2,After,5,6,US,r\n"
        info = self.load_everywhere("zeros.csv", content)
        self.assertEqual(info["mines"], 3)
        fields = self.lookup("zeros.csv", "1", "3")
        self.assertEqual((fields["SITE_NAME"], fields["COUNTRY"], fields["REF"]),
                         ("Mi\x00ne", "U\x00S", "\x00"))
        self.assertIn(b",0,Mi\x00ne,,,,-777.0\r\n", self.read(self.path("out.pnt")))

    def test_bytes_above_0x7f(self):
        high = "".join(chr(b) for b in range(0x80, 0x100))
        content = HEADER + "1," + high.replace(",", "") + ",1,2," + high + ",\x96\n"
        self.load_everywhere("high.csv", content)
        fields = self.lookup("high.csv", "1", "2")
        # Windows-1252 to UTF-8; the five bytes it leaves undefined pass as C1 code points.
        want = bytes(range(0x80, 0x100)).decode("cp1252", "replace")
        for byte in (0x81, 0x8D, 0x8F, 0x90, 0x9D):
            want = want.replace("\ufffd", chr(byte), 1)
        self.assertEqual(fields["COUNTRY"], want)
        self.assertEqual(fields["REF"], "\u2013")
        # The point file keeps the stored bytes.
        self.assertIn(bytes(range(0x80, 0x100)), self.read(self.path("out.pnt")))

    def test_number_texts(self):
        rows = [("1e400", "1", None), ("nan", "2", 0.0), ("-0", "3", -0.0), ("45.5N", "4", 45.5),
                ("inf", "5", 0.0), ("0x1p3", "6", 0.0), ("  7.25", "7", 7.25),
                ("1e-50", "8", 0.0), ("-1e400", "9", None), ('"12.5"', "10", 12.5)]
        content = "LATITUDE,LONGITUDE,DEP_ID\n" + "".join(
            "%s,%s,%s\n" % (lat, lon, lon) for lat, lon, _ in rows)
        content += "1,1,99999999999\n1,2,-99999999999\n"
        info = self.load_everywhere("numbers.csv", content)
        self.assertEqual(info["mines"], len(rows) + 2)
        self.assertEqual(info["left_out"], 2)
        for lat, lon, want in rows:
            run = run_cli("lookup", self.path("numbers.csv"), "0", lon, "--json",
                          "--sensitivity", "1000")
            self.assertEqual(run.status, 0, run)
        # Each finite row in order, through the point file's coordinates; the
        # infinite ones are left out.
        lines = self.read(self.path("out.pnt"))[len(PNT_HEADER):].split(b"\r\n")[:-1]
        finite = [(lat, want) for lat, _, want in rows if want is not None]
        self.assertEqual(len(lines), len(finite) + 2)
        for (lat, want), line in zip(finite, lines):
            text = line.split(b",")[0].decode()
            self.assertEqual(float(text), single(want), lat)
            self.assertEqual(text.startswith("-"), str(want).startswith("-"), lat)
        # Infinite coordinates are null in JSON, and never match a click.
        mine = run_cli("lookup", self.path("numbers.csv"), "0", "0", "--json",
                       "--sensitivity", "1000").json()
        self.assertIn(mine["index"], range(1, len(rows) + 3))
        # Identifiers beyond 32 bits clamp.
        fields = self.lookup("numbers.csv", "1", "1")
        self.assertEqual(fields["DEP_ID"], 2**31 - 1)
        fields = self.lookup("numbers.csv", "1", "2")
        self.assertEqual(fields["DEP_ID"], -2**31)

    def test_infinite_coordinates_are_null(self):
        self.write("inf.csv", "LATITUDE,LONGITUDE\n1e400,5\n")
        # A click matches nothing at an infinite latitude...
        self.assertFailsCleanly(run_cli("lookup", self.path("inf.csv"), "0", "5", "--sensitivity",
                                        "1e300"), 1)
        # ...but the record reads as JSON with null where the number is infinite.
        self.write("inf2.csv", "LATITUDE,LONGITUDE\n5,1e400\n")
        self.assertFailsCleanly(run_cli("lookup", self.path("inf2.csv"), "5", "0"), 1)
