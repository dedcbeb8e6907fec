"""vemra-cli's four commands on the bundled sample and on small crafted files:
what they print, the files they write and their exit statuses."""

import os
import shutil
import struct

from cli_support import CliTestCase, SAMPLE, run_cli, shown

COLUMNS = [
    "DEP_ID", "MRDS_ID", "MAS_ID", "SITE_NAME", "LATITUDE", "LONGITUDE", "REGION", "COUNTRY",
    "STATE", "COUNTY", "DISTRICT", "ADMIN", "LAND_STAT", "COM_TYPE", "COM_MAJOR", "COM_MINOR",
    "COM_TRACE", "OPER_TYPE", "DEP_TYPE", "PROD_SIZE", "DEV_STAT", "ORE", "GANGUE",
    "OTHER_MATL", "OREBODY_FM", "WORK_TYPE", "MODEL", "ALTERATION", "CONC_PROC", "PREV_NAME",
    "ORE_CTRL", "REPORTER", "HROCK_UNIT", "HROCK_CODE", "AROCK_UNIT", "AROCK_CODE",
    "STRUCTURE", "TECTONIC", "REF", "YFP_BA", "YR_FST_PRD", "YLP_BA", "YR_LST_PRD", "DY_BA",
    "DISC_YR", "PROD_YRS", "DISCR",
]
MAIN_PAGE_KEYS = ["name", "position", "location", "commodity_type", "major", "minor", "trace",
                  "discovery", "production", "production_years"]
PNT_HEADER = (b"OziExplorer Point File Version 1.0\r\nWGS 84\r\nReserved 1\r\nReserved 2\r\n"
              b"255,16777215,3,8,0,0,Mines\r\n")
SAMPLE_MINES = 35


def single(value):
    """The single-precision value nearest `value`, widened again."""
    return struct.unpack("<f", struct.pack("<f", value))[0]


def pnt_coordinates(line):
    fields = line.split(b",")
    return float(fields[0]), float(fields[1])


class LookupTest(CliTestCase):
    def test_plain_shows_the_four_pages(self):
        run = self.run_ok("lookup", SAMPLE, "39.63718", "-117.05204")
        self.assertEqual(run.err, "")
        lines = run.out.split("\n")
        self.assertEqual(lines[0], "Main Page")
        for title in ("More Location", "Characteristics 1", "Characteristics 2"):
            self.assertIn(title, lines)
        self.assertIn("  Name:        Silver King Mine", lines)
        # The CLI's own labels, each with its colon: not the page's
        # "Locaction", "Minor", "Discovery" or "Reporter".
        self.assertIn("  Location:    Lat: 39.637180, Lon: -117.052040", lines)
        self.assertIn("               United States, Nevada, Lander", lines)
        self.assertIn("  Minor:       Lead, Copper", lines)
        self.assertIn("  Discovery:   1862", lines)
        self.assertIn("  Production:  B1863 to A1938", lines)
        self.assertIn("  Reporter:                  Hallbeck, D.R.", lines)
        # The Windows-1252 en dash comes out as UTF-8.
        self.assertIn("  Prod.Years:  1863\u20131887, 1921\u20131938", lines)
        self.assertIn("  Deposit Type:        Epithermal vein", lines)

    def test_json_keys_and_values(self):
        run = self.run_ok("lookup", SAMPLE, "39.63718", "-117.05204", "--json")
        mine = run.json()
        self.assertEqual(list(mine), ["index", "fields", "main_page"])
        self.assertEqual(mine["index"], 1)
        fields = mine["fields"]
        self.assertEqual(list(fields), COLUMNS)
        self.assertIs(type(fields["DEP_ID"]), int)
        self.assertEqual(fields["DEP_ID"], 10186021)
        # The stored single-precision values, exactly.
        self.assertEqual(fields["LATITUDE"], single(39.63718))
        self.assertEqual(fields["LONGITUDE"], single(-117.05204))
        self.assertEqual(fields["SITE_NAME"], "Silver King Mine")
        self.assertEqual(fields["COM_MAJOR"], "Silver, Gold")
        self.assertEqual(fields["MAS_ID"], "0320150044")
        self.assertEqual(fields["DISCR"], "")
        self.assertEqual(fields["PROD_YRS"], "1863\u20131887, 1921\u20131938")
        for name in COLUMNS[6:] + ["MRDS_ID", "MAS_ID", "SITE_NAME"]:
            self.assertIs(type(fields[name]), str, name)
        page = mine["main_page"]
        self.assertEqual(list(page), MAIN_PAGE_KEYS)
        self.assertEqual(page["name"], "Silver King Mine")
        self.assertEqual(page["position"], "Lat: 39.637180, Lon: -117.052040")
        self.assertEqual(page["location"], "United States, Nevada, Lander")
        self.assertEqual(page["commodity_type"], "metallic")
        self.assertEqual(page["production"], "B1863 to A1938")
        self.assertEqual(page["discovery"], "1862")

    def test_first_match_in_file_order(self):
        # Both Silver King (1) and Jackrabbit (2) lie within 0.1 degrees.
        mine = self.run_ok("lookup", SAMPLE, "39.64", "-117.06", "--sensitivity", "0.1",
                           "--json").json()
        self.assertEqual(mine["index"], 1)
        mine = self.run_ok("lookup", SAMPLE, "39.6412", "-117.0601", "--json").json()
        self.assertEqual(mine["index"], 2)
        self.assertEqual(mine["fields"]["SITE_NAME"], "Jackrabbit Adit")

    def test_no_match(self):
        for args in (["-45", "170"], ["39.63718", "-117.05204", "--sensitivity", "0"],
                     ["39.63718", "-117.05204", "--sensitivity", "not a number"],
                     ["39.63718", "-117.05204", "--json", "--sensitivity", "-1"]):
            run = run_cli("lookup", SAMPLE, *args)
            self.assertFailsCleanly(run, 1)

    def test_quoted_fields_and_missing_values(self):
        data = self.write("q.csv", '"DEP_ID","SITE_NAME","LATITUDE","LONGITUDE","COM_TYPE",'
                          '"PROD_YRS"\r\n"77","Bell, ""Old""","10.5","-20.25","N",""\r\n')
        mine = self.run_ok("lookup", data, "10.5", "-20.25", "--json").json()
        self.assertEqual(mine["fields"]["DEP_ID"], 77)
        # The name keeps the quotes of the file; other texts lose them.
        self.assertEqual(mine["fields"]["SITE_NAME"], '"Bell, ""Old"""')
        self.assertEqual(mine["fields"]["COM_TYPE"], "N")
        self.assertEqual(mine["main_page"]["commodity_type"], "non-metallic")
        self.assertIsNone(mine["main_page"]["production"])


class StoredEncodingTest(CliTestCase):
    """Names stored as Windows-1252 and as UTF-8 read the same in every form
    lookup and nearest print."""

    NAMES = ["Pe\u00f1asco", "San Jos\u00e9", "Ste-Th\u00e9r\u00e8se", "Caf\u00e9 \u20ac"]

    def data_file(self, encoding):
        lines = ["DEP_ID,SITE_NAME,LATITUDE,LONGITUDE,COUNTRY"]
        for i, name in enumerate(self.NAMES):
            lines.append("%d,%s,%d.5,-117.5,M\u00e9xico" % (i + 1, name, 40 + i))
        return self.write(encoding + ".csv", ("\r\n".join(lines) + "\r\n").encode(encoding))

    def test_windows_1252_and_utf8_names_read_alike(self):
        points = self.write("p.txt", "41.5,-117.5\n")
        runs = [("lookup", "41.5", "-117.5"), ("lookup", "41.5", "-117.5", "--json"),
                ("nearest", "41.5", "-117.5", "-n", "4"),
                ("nearest", "41.5", "-117.5", "-n", "4", "--json"),
                ("lookup", "--points", points), ("nearest", "--points", points)]
        for command, *args in runs:
            outputs = [self.run_ok(command, self.data_file(encoding), *args).out
                       for encoding in ("cp1252", "utf-8")]
            self.assertEqual(outputs[0], outputs[1], args)
            self.assertIn("San Jos\u00e9", outputs[0], args)
            self.assertIn("M\u00e9xico", outputs[0], args)
            if command == "nearest":
                for name in self.NAMES:
                    self.assertIn(name, outputs[0], args)


class ExportPointTest(CliTestCase):
    def test_every_mine(self):
        out = self.path("all.pnt")
        run = self.run_ok("export-pnt", SAMPLE, out)
        self.assertEqual(run.stdout, b"")
        data = self.read(out)
        self.assertTrue(data.startswith(PNT_HEADER))
        lines = data[len(PNT_HEADER):].split(b"\r\n")
        self.assertEqual(lines[-1], b"")  # the last line ends in CR LF too
        lines = lines[:-1]
        self.assertEqual(len(lines), SAMPLE_MINES)
        self.assertEqual(lines[0], b"39.637180,-117.052040,0,Silver King Mine,,,,-777.0")
        # A comma of the name is written as 0xD1; the name's quotes stay.
        self.assertEqual(lines[2],
                         b'40.618931,-116.143272,0,"Bull Run\xd1 North Extension",,,,-777.0')
        for line in lines:
            self.assertEqual(line.count(b","), 7, line)
            self.assertTrue(line.endswith(b",,,,-777.0"), line)
        self.assertEqual(os.listdir(self.dir), ["all.pnt"])

    def test_box_keeps_the_mines_inside_bounds_included(self):
        everything = self.path("all.pnt")
        self.run_ok("export-pnt", SAMPLE, everything)
        all_lines = self.read(everything)[len(PNT_HEADER):].split(b"\r\n")[:-1]
        box = (39.0, -118.0, 41.0, -116.5)
        boxed = self.path("box.pnt")
        self.run_ok("export-pnt", SAMPLE, boxed, "--bbox", ",".join(str(v) for v in box))
        data = self.read(boxed)
        self.assertTrue(data.startswith(PNT_HEADER))
        got = data[len(PNT_HEADER):].split(b"\r\n")[:-1]
        want = [line for line in all_lines
                if box[0] <= pnt_coordinates(line)[0] <= box[2]
                and box[1] <= pnt_coordinates(line)[1] <= box[3]]
        self.assertEqual(got, want)
        self.assertTrue(0 < len(got) < len(all_lines))

        # A box that is one point, the stored coordinates of mine 1.
        point = "%r,%r,%r,%r" % (single(39.63718), single(-117.05204), single(39.63718),
                                 single(-117.05204))
        self.run_ok("export-pnt", SAMPLE, boxed, "--bbox", point)
        self.assertEqual(self.read(boxed),
                         PNT_HEADER + b"39.637180,-117.052040,0,Silver King Mine,,,,-777.0\r\n")

    def test_replaces_an_existing_file(self):
        out = self.write("old.pnt", b"old contents")
        self.run_ok("export-pnt", SAMPLE, out)
        self.assertTrue(self.read(out).startswith(PNT_HEADER))
        self.assertEqual(os.listdir(self.dir), ["old.pnt"])


class ArchiveTest(CliTestCase):
    def test_export_then_info_and_the_same_mines(self):
        dat = self.path("mines.dat")
        run = self.run_ok("export-dat", SAMPLE, dat)
        self.assertEqual(run.stdout, b"")
        data = self.read(dat)
        self.assertEqual(struct.unpack("<H", data[:2])[0], SAMPLE_MINES + 1)

        info = self.run_ok("info", dat, "--json").json()
        self.assertEqual(list(info), ["mines", "format", "columns", "second_names",
                                      "load_seconds"])
        self.assertEqual(info["mines"], SAMPLE_MINES)
        self.assertEqual(info["format"], "archive")
        self.assertEqual(info["columns"], COLUMNS)
        self.assertIsInstance(info["load_seconds"], float)

        # The archive gives the same mines as the file it came from; the
        # identifier keeps its low 16 bits only.
        for lat, lon in (("39.63718", "-117.05204"), ("40.61893", "-116.14327")):
            from_csv = self.run_ok("lookup", SAMPLE, lat, lon, "--json").json()
            from_dat = self.run_ok("lookup", dat, lat, lon, "--json").json()
            self.assertEqual(from_dat["fields"]["DEP_ID"], from_csv["fields"]["DEP_ID"] & 0xFFFF)
            from_dat["fields"]["DEP_ID"] = from_csv["fields"]["DEP_ID"]
            self.assertEqual(from_csv, from_dat)
        self.run_ok("export-pnt", SAMPLE, self.path("a.pnt"))
        self.run_ok("export-pnt", dat, self.path("b.pnt"))
        self.assertEqual(self.read(self.path("a.pnt")), self.read(self.path("b.pnt")))

        # Written again, from the archive itself: the same bytes.
        self.run_ok("export-dat", dat, self.path("again.dat"))
        self.assertEqual(self.read(self.path("again.dat")), data)

    def test_header_only_and_empty_files(self):
        for leaf, content in (("header.csv", "DEP_ID,SITE_NAME\n"), ("empty.csv", "")):
            data = self.write(leaf, content)
            dat = self.path(leaf + ".dat")
            # ".csv" in the name: still read as comma-separated, written as archive.
            self.run_ok("export-dat", data, self.path("out.dat"))
            self.assertEqual(self.read(self.path("out.dat")),
                             b"\x01\x00" if content else b"\x00\x00")
            shutil.copy(self.path("out.dat"), self.path("copy.dat"))
            info = self.run_ok("info", self.path("copy.dat"), "--json").json()
            self.assertEqual(info["mines"], 0)
            self.assertFalse(os.path.exists(dat))


class InfoTest(CliTestCase):
    def test_plain_and_json(self):
        run = self.run_ok("info", SAMPLE)
        lines = run.out.split("\n")
        self.assertEqual(lines[0], "Mines:     %d" % SAMPLE_MINES)
        self.assertEqual(lines[1], "Format:    comma-separated (csv)")
        self.assertTrue(lines[2].startswith("Columns:   47 recognised: DEP_ID, MRDS_ID,"))
        self.assertTrue(lines[3].startswith("Load time: ") and lines[3].endswith(" s"))

        info = self.run_ok("info", SAMPLE, "--json").json()
        self.assertEqual(list(info), ["mines", "format", "columns", "second_names",
                                      "load_seconds"])
        self.assertEqual(info["mines"], SAMPLE_MINES)
        self.assertEqual(info["format"], "csv")
        self.assertEqual(info["columns"], COLUMNS)
        self.assertGreaterEqual(info["load_seconds"], 0.0)

    def test_format_follows_the_name_in_any_case(self):
        upper = self.path("MRDS.CSV")
        shutil.copy(SAMPLE, upper)
        info = self.run_ok("info", upper, "--json").json()
        self.assertEqual((info["format"], info["mines"]), ("csv", SAMPLE_MINES))
        # ".csv" in the middle of the name counts too.
        middle = self.path("mines.Csv.txt")
        shutil.copy(SAMPLE, middle)
        self.assertEqual(self.run_ok("info", middle, "--json").json()["format"], "csv")
        # Without it the same bytes are an archive, and a damaged one.
        other = self.path("mines.txt")
        shutil.copy(SAMPLE, other)
        run = run_cli("info", other, "--json")
        self.assertEqual((run.status, run.json()["format"]), (4, "archive"))
        self.assertIn("damaged", run.err)

    def test_recognised_columns(self):
        data = self.write("c.csv", 'x,"site_name",Latitude, LONGITUDE,REF\n')
        info = self.run_ok("info", data, "--json").json()
        self.assertEqual(info["columns"], ["SITE_NAME", "LATITUDE", "REF"])


TODAYS_HEADER = (
    "dep_id,mrds_id,mas_id,site_name,latitude,longitude,region,country,state,county,com_type,"
    "commod1,commod2,commod3,oper_type,dep_type,prod_size,dev_stat,ore,gangue,other_matl,"
    "orebody_fm,work_type,model,alteration,conc_proc,prev_name,ore_ctrl,reporter,hrock_unit,"
    "hrock_type,arock_unit,arock_type,structure,tectonic,ref,yfp_ba,yr_fst_prd,ylp_ba,"
    "yr_lst_prd,dy_ba,disc_yr,prod_yrs,discr").split(",")
SECOND_NAMES = {"COM_MAJOR": "commod1", "COM_MINOR": "commod2", "COM_TRACE": "commod3",
                "HROCK_CODE": "hrock_type", "AROCK_CODE": "arock_type"}


class TodaysHeaderTest(CliTestCase):
    """The header of the USGS export as downloaded today, with and without
    the "url" and "score" columns of newer copies."""

    def write_todays_file(self, newer):
        header = list(TODAYS_HEADER)
        row = {name: "" for name in header}
        row.update(dep_id="10001", site_name="Comstock Lode", latitude="39.3", longitude="-119.6",
                   state="Nevada", com_type="M", commod1="Silver", commod2='"Gold, Lead"',
                   commod3="Copper", hrock_type="Andesite", arock_type="Diorite",
                   dev_stat="Past Producer")
        if newer:
            header.insert(1, "url")
            header.append("score")
            row.update(url="https://example.invalid/10001", score="A")
        lines = [",".join(header), ",".join(row[name] for name in header)]
        return self.write("today.csv", "\r\n".join(lines) + "\r\n")

    def test_lookup_and_info(self):
        for newer in (False, True):
            with self.subTest(newer=newer):
                data = self.write_todays_file(newer)
                mine = self.run_ok("lookup", data, "39.3", "-119.6", "--json").json()
                self.assertEqual(mine["main_page"]["major"], "Silver")
                self.assertEqual(mine["main_page"]["minor"], "Gold, Lead")
                self.assertEqual(mine["main_page"]["trace"], "Copper")
                fields = mine["fields"]
                self.assertEqual((fields["HROCK_CODE"], fields["AROCK_CODE"]),
                                 ("Andesite", "Diorite"))
                for name in ("DISTRICT", "ADMIN", "LAND_STAT"):
                    self.assertEqual(fields[name], "")
                self.assertIn("  Major:       Silver",
                              self.run_ok("lookup", data, "39.3", "-119.6").out.split("\n"))

                info = self.run_ok("info", data, "--json").json()
                self.assertEqual(info["columns"],
                                 [c for c in COLUMNS if c not in ("DISTRICT", "ADMIN", "LAND_STAT")])
                self.assertEqual(info["second_names"], SECOND_NAMES)
                lines = self.run_ok("info", data).out.split("\n")
                self.assertEqual(lines[3], "Read as:   COM_MAJOR from commod1, COM_MINOR from "
                                 "commod2, COM_TRACE from commod3, HROCK_CODE from hrock_type, "
                                 "AROCK_CODE from arock_type")
                self.assertEqual(self.run_ok("export-pnt", data, self.path("g.pnt"), "--commodity",
                                             "lead").status, 0)

    def test_own_names_come_first(self):
        data = self.write("both.csv", "commod1,SITE_NAME,com_major,LATITUDE,LONGITUDE\n"
                          "Silver,Mixed,Gold,1,2\n")
        mine = self.run_ok("lookup", data, "1", "2", "--json").json()
        self.assertEqual(mine["main_page"]["major"], "Gold")
        self.assertEqual(self.run_ok("info", data, "--json").json()["second_names"], {})
        self.assertEqual(self.run_ok("info", SAMPLE, "--json").json()["second_names"], {})


class UsageTest(CliTestCase):
    """Usage errors: exit 2, nothing on stdout, nothing written."""

    def check_usage_error(self, *args):
        before = os.listdir(self.dir)
        run = run_cli(*args, cwd=self.dir)
        self.assertFailsCleanly(run, 2)
        self.assertEqual(sorted(os.listdir(self.dir)), sorted(before), run)
        return run

    def test_bad_arguments(self):
        out = self.path("out.pnt")
        self.check_usage_error()
        self.check_usage_error("frobnicate", SAMPLE)
        self.check_usage_error("lookup", SAMPLE)
        self.check_usage_error("lookup", SAMPLE, "1")
        self.check_usage_error("lookup", SAMPLE, "1", "2", "3")
        for bad in ("abc", "nan", "inf", "0x10", "1e999", "", "--", "4 5"):
            self.check_usage_error("lookup", SAMPLE, bad, "2")
        self.check_usage_error("lookup", SAMPLE, "1", "2", "--sensitivity")
        self.check_usage_error("lookup", SAMPLE, "1", "2", "--jsn")
        self.check_usage_error("export-pnt", SAMPLE)
        for box in ("1,2,3", "1,2,3,4,5", "3,0,1,4", "a,b,c,d", "1,2,3,nan", ""):
            run = self.check_usage_error("export-pnt", SAMPLE, out, "--bbox", box)
            self.assertIn("bbox", run.err)
        for command in ("export-dat", "export-gpx", "export-kml", "export-wpt"):
            self.check_usage_error(command, SAMPLE)
            self.check_usage_error(command, SAMPLE, out, "extra")
            self.check_usage_error(command, self.path("missing.csv"), out)
        self.check_usage_error("info")
        self.check_usage_error("info", SAMPLE, "--xml")

    def test_files_that_cannot_be_loaded(self):
        missing_csv = self.path("missing.csv")
        missing_dat = self.path("missing.dat")
        out = self.path("out.pnt")
        run = self.check_usage_error("info", missing_csv)
        self.assertIn("Error opening file: '%s'" % shown(missing_csv), run.err)
        run = self.check_usage_error("export-pnt", missing_dat, out)
        self.assertIn(shown(missing_dat), run.err)
        self.assertIn("Error loading Mine data", run.err)
        self.check_usage_error("export-dat", missing_csv, out)
        self.check_usage_error("lookup", missing_dat, "1", "2")

    def test_help_and_version(self):
        run = run_cli("--help")
        self.assertEqual(run.status, 0, run)
        for command in ("lookup", "export-pnt", "export-dat", "export-gpx", "export-kml",
                        "export-wpt", "info"):
            self.assertIn(command, run.out)
        for status in range(4):
            self.assertRegex(run.out, r"\n  %d  \w" % status)
        run = run_cli("--version")
        self.assertEqual((run.status, run.out.strip()), (0, "1.0.0.1"), run)
