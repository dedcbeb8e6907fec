"""The USGS download as it comes: a zip made by the `zip` tool, stored and
deflated, loads the same mines as its comma-separated member, whatever the
zip is named; a damaged one fails with the file and the reason, writing
nothing."""

import os
import subprocess

from cli_support import SAMPLE, CliTestCase, run_cli, shown


class ZipInputTest(CliTestCase):
    def make_zip(self, leaf, level, *members):
        path = self.path(leaf)
        subprocess.run(["zip", "-q", "-j", level, path, *members], check=True)
        return path

    def test_zip_loads_the_mines_of_its_comma_separated_member(self):
        member = self.write("mrds.csv", self.read(SAMPLE))
        readme = self.write("readme.txt", "not mines\n")
        self.run_ok("export-pnt", member, self.path("plain.pnt"))
        self.run_ok("export-dat", member, self.path("plain.dat"))
        # Named without ".csv" and ".zip" alike: the first bytes decide.
        for leaf, level in (("stored.zip", "-0"), ("deflated.zip", "-9"), ("mines.dat", "-6")):
            with self.subTest(leaf):
                zipped = self.make_zip(leaf, level, readme, member)
                info = self.run_ok("info", zipped).out.splitlines()
                self.assertEqual(info[1], "Format:    zip (member mrds.csv)")
                self.run_ok("export-pnt", zipped, self.path(leaf + ".pnt"))
                self.assertEqual(self.read(self.path(leaf + ".pnt")),
                                 self.read(self.path("plain.pnt")))
                self.run_ok("export-dat", zipped, self.path(leaf + ".dat"))
                self.assertEqual(self.read(self.path(leaf + ".dat")),
                                 self.read(self.path("plain.dat")))

    def test_a_damaged_zip_names_the_file_and_the_reason(self):
        member = self.write("mrds.csv", self.read(SAMPLE))
        zipped = self.make_zip("mrds-csv.zip", "-9", member)
        data = self.read(zipped)
        cut = self.write("cut.zip", data[:len(data) // 2])
        subprocess.run(["zip", "-q", "-j", "-P", "secret", self.path("locked.zip"), member],
                       check=True)
        cases = (
            (cut, "the zip is cut short or damaged: its central directory is missing"),
            (self.path("locked.zip"), "the member 'mrds.csv' is encrypted"),
        )
        for path, reason in cases:
            with self.subTest(os.path.basename(path)):
                out = self.path("out.pnt")
                run = run_cli("export-pnt", path, out)
                self.assertFailsCleanly(run, 2, "Error loading Mine data from '%s': %s" % (
                    shown(path), reason))
                self.assertFalse(os.path.exists(out))
