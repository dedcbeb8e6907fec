"""Names that name a folder, and long paths, as data files and as outputs."""

import os
import shutil
import unittest

from cli_support import UNDER_WINE, CliTestCase, SAMPLE, run_cli, shown, snapshot

# Every command that writes a file, with an output name for it.
EXPORTS = [("export-pnt", "out.pnt"), ("export-dat", "out.dat"), ("export-gpx", "out.gpx"),
           ("export-kml", "out.kml"), ("export-wpt", "out.wpt"), ("export-csv", "out.csv")]


class FolderNameTest(CliTestCase):
    def test_folder_as_data_file(self):
        for leaf in ("mines.csv", "mines.dat"):
            folder = self.path(leaf)
            os.mkdir(folder)
            self.write(leaf + "/inside.txt", b"x")
            before = snapshot(self.dir)
            for args in (["info", folder], ["lookup", folder, "1", "2"],
                         ["export-pnt", folder, self.path("o.pnt")],
                         ["export-dat", folder, self.path("o.dat")]):
                run = run_cli(*args)
                self.assertFailsCleanly(run, 2, shown(folder))
                self.assertEqual(snapshot(self.dir), before)
        # As the program words it for each format.
        self.assertIn("Error opening file: '%s'" % shown(self.path("mines.csv")),
                      run_cli("info", self.path("mines.csv")).err)
        err = run_cli("info", self.path("mines.dat")).err
        self.assertIn("Error loading Mine data", err)

    def test_folder_as_output(self):
        for command, leaf in EXPORTS:
            folder = self.path(leaf)
            os.mkdir(folder)
            self.write(leaf + "/keep.txt", b"keep")
            before = snapshot(self.dir)
            run = run_cli(command, SAMPLE, folder)
            self.assertFailsCleanly(run, 3, shown(folder))
            self.assertSaidOnce(run)
            self.assertEqual(snapshot(self.dir), before)

    def test_output_in_a_missing_folder(self):
        for command, leaf in EXPORTS:
            out = self.path("no/such/folder/" + leaf)
            run = run_cli(command, SAMPLE, out)
            # The archive says the system's reason; the other exports, as the
            # program does, "Error opening:" and the path.
            self.assertFailsCleanly(run, 3, shown(out))
            self.assertSaidOnce(run)
            if command != "export-dat":
                self.assertEqual(run.err.strip(), "vemra-cli: Error opening: " + shown(out))
        self.assertEqual(os.listdir(self.dir), [])

    def assertSaidOnce(self, run):
        """One line on stderr, with vemra-cli's one prefix."""
        lines = run.err.strip().splitlines()
        self.assertEqual(len(lines), 1, run)
        self.assertTrue(lines[0].startswith("vemra-cli: "), run)


class UnicodeFolderTest(CliTestCase):
    """A folder named outside any ANSI code page (Greek and CJK): vemra-cli
    reads its data and points files there and writes every export there. On
    Windows the names reach it only through the wide command line."""

    def test_reads_and_writes_in_a_greek_and_cjk_folder(self):
        folder = self.path("\u039c\u03b5\u03c4\u03b1\u03bb\u03bb\u03b5\u03af\u03b1 \u9271\u5c71")
        os.mkdir(folder)
        data = os.path.join(folder, "\u03bf\u03c1\u03c5\u03c7\u03b5\u03af\u03b1.csv")
        shutil.copyfile(SAMPLE, data)
        points = os.path.join(folder, "\u70b9.txt")
        with open(points, "wb") as f:
            f.write(b"39.63718,-117.05204\n")
        self.assertIn("Silver King Mine",
                      self.run_ok("lookup", data, "39.63718", "-117.05204").out)
        self.assertIn("Silver King Mine", self.run_ok("lookup", data, "--points", points).out)
        for command, leaf in EXPORTS:
            out = os.path.join(folder, "\u51fa\u529b-" + leaf)
            self.run_ok(command, data, out)
            self.assertGreater(os.path.getsize(out), 0, command)
        # The archive written there reads back there.
        archive = os.path.join(folder, "\u51fa\u529b-out.dat")
        self.assertEqual(self.run_ok("info", archive, "--json").json()["mines"],
                         self.run_ok("info", data, "--json").json()["mines"])


# Windows paths without the \\?\ form end at 260 characters.
@unittest.skipIf(UNDER_WINE, "paths past 260 characters are a Linux case")
class LongPathTest(CliTestCase):
    def deep_folder(self, length):
        """A folder whose path is between `length` - 41 and `length` characters."""
        folder = self.dir
        while len(folder) + 41 <= length:
            folder = os.path.join(folder, "d" * 40)
        os.makedirs(folder)
        return folder

    def test_paths_of_300_characters_work(self):
        folder = self.deep_folder(260)
        data = os.path.join(folder, "m" * (300 - len(folder) - 5) + ".csv")
        self.assertEqual(len(data), 300)
        shutil.copy(SAMPLE, data)
        info = self.run_ok("info", data, "--json").json()
        self.assertEqual(info["mines"], 35)
        out = os.path.join(folder, "p" * (300 - len(folder) - 5) + ".pnt")
        self.run_ok("export-pnt", data, out)
        self.assertEqual(len(out), 300)
        dat = os.path.join(folder, "a" * (300 - len(folder) - 5) + ".dat")
        self.run_ok("export-dat", data, dat)
        self.assertEqual(self.run_ok("info", dat, "--json").json()["mines"], 35)

    def test_file_name_of_300_characters_is_refused_cleanly(self):
        # One name of 300 characters is longer than the system allows.
        data = self.path("n" * 296 + ".csv")
        run = run_cli("info", data)
        self.assertFailsCleanly(run, 2, "Error opening file: '%s'" % data)
        dat = self.path("n" * 296 + ".dat")
        run = run_cli("lookup", dat, "1", "2")
        self.assertFailsCleanly(run, 2, dat)
        for command, leaf in EXPORTS:
            out = self.path("o" * 296 + leaf[-4:])
            run = run_cli(command, SAMPLE, out)
            self.assertFailsCleanly(run, 3, out)
        self.assertEqual(os.listdir(self.dir), [])
