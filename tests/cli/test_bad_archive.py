"""Damaged and extreme mine archives through vemra-cli.

A damaged archive loads with the records read completely, and the message
names the file and how many mines were read; nothing is allocated beyond the
bytes the file holds, nothing crashes, and nothing on disk changes."""

import os
import struct

from cli_support import CliTestCase, run_cli, shown
from test_commands import PNT_HEADER

TEXT_COUNT = 44


def prefix(length):
    if length <= 254:
        return bytes([length])
    if length <= 65533:
        return b"\xff" + struct.pack("<H", length)
    return b"\xff\xff\xff" + struct.pack("<I", length)


def record(lat, lon, dep_id, texts=()):
    texts = list(texts) + [b""] * (TEXT_COUNT - len(texts))
    out = struct.pack("<ffH", lat, lon, dep_id & 0xFFFF)
    for text in texts:
        out += prefix(len(text)) + text
    return out


def archive(records, count=None):
    return struct.pack("<H", len(records) + 1 if count is None else count) + b"".join(records)


# Three mines, each with a name and a few other texts.
RECORDS = [
    record(10.5, 20.25, 1, [b"M1", b"", b"Alpha Mine", b"NA", b"US"]),
    record(11.5, 21.25, 2, [b"M2", b"X", b"Beta, Lode"]),
    record(12.5, 22.25, 3, [b"M3", b"", b"Gamma"] + [b"g"] * 41),
]


class DamagedArchiveTest(CliTestCase):
    def info(self, path):
        run = run_cli("info", path, "--json")
        # A damaged archive has a status of its own; the records read are used.
        self.assertEqual(run.status, 4 if "damaged" in run.err else 0, run)
        self.assertSane(run, os.path.getsize(path))
        return run

    def assertDamaged(self, run, path, mines):
        self.assertEqual(run.status, 4, run)
        self.assertIn("The mine archive '%s' is damaged" % shown(path), run.err)
        self.assertIn("%d mine%s read" % (mines, " was" if mines == 1 else "s were"), run.err)
        self.assertEqual(run.json()["mines"], mines)

    def test_valid_archive_reads_whole(self):
        path = self.write("good.dat", archive(RECORDS))
        run = self.info(path)
        self.assertEqual(run.err, "")
        self.assertEqual(run.json()["mines"], 3)
        mine = run_cli("lookup", path, "11.5", "21.25", "--json").json()
        self.assertEqual(mine["index"], 2)
        self.assertEqual(mine["fields"]["SITE_NAME"], "Beta, Lode")
        self.assertEqual(mine["fields"]["MAS_ID"], "X")

    def test_truncated_at_every_byte(self):
        whole = archive(RECORDS)
        ends = []
        offset = 2
        for rec in RECORDS:
            offset += len(rec)
            ends.append(offset)
        for size in range(len(whole)):
            path = self.write("cut.dat", whole[:size])
            run = self.info(path)
            complete = sum(1 for end in ends if end <= size)
            self.assertDamaged(run, path, complete)
            self.assertEqual(self.read(path), whole[:size])
        # The exports still write the mines read, and say the archive is damaged.
        path = self.write("cut.dat", whole[:ends[1] + 5])
        run = run_cli("export-pnt", path, self.path("out.pnt"))
        self.assertEqual(run.status, 4, run)
        self.assertIn("damaged", run.err)
        self.assertEqual(self.read(self.path("out.pnt")).count(b"\r\n"), 5 + 2)
        # A lookup that finds nothing in what was read says the same.
        self.assertEqual(run_cli("lookup", path, "-50", "-50").status, 4)

    def test_count_larger_than_the_file_holds(self):
        for count in (5, 1000, 0xFFFF):
            path = self.write("many.dat", archive(RECORDS, count=count))
            run = self.info(path)
            self.assertDamaged(run, path, 3)
        # A count smaller than the records: the rest is ignored, no damage.
        path = self.write("few.dat", archive(RECORDS, count=2))
        run = self.info(path)
        self.assertEqual(run.err, "")
        self.assertEqual(run.json()["mines"], 1)

    def test_enormous_length_prefixes(self):
        head = struct.pack("<ffH", 1.0, 2.0, 7)
        for name, bad in (("ffff.dat", b"\xff\xff\xff"),  # 0xFF 0xFFFF and no length after it
                          ("word.dat", b"\xff\xfd\xff" + b"x" * 100),
                          ("huge.dat", b"\xff\xff\xff" + struct.pack("<I", 4_000_000_000)),
                          ("max.dat", b"\xff\xff\xff\xff\xff\xff\xff"),
                          ("huge2.dat", b"\xff\xff\xff" + struct.pack("<I", 4_000_000_000)
                           + b"y" * 5000)):
            path = self.write(name, archive([RECORDS[0], head + b"\x02M9" + bad]))
            run = self.info(path)
            self.assertDamaged(run, path, 1)
            # Far less than the four gigabytes the prefix asks for.
            self.assertLess(run.max_rss, 512 << 20)

    def test_wide_string_marker_is_damage(self):
        head = struct.pack("<ffH", 1.0, 2.0, 7)
        for tail in (b"\xff\xfe\xff\x02A\x00B\x00", b"\xff\xfe\xff"):
            path = self.write("wide.dat", archive([RECORDS[0], head + tail + b"\x00" * 60,
                                                   RECORDS[1]]))
            run = self.info(path)
            self.assertDamaged(run, path, 1)

    def test_empty_and_tiny(self):
        for content in (b"", b"\x05"):
            path = self.write("tiny.dat", content)
            self.assertDamaged(self.info(path), path, 0)
        for content in (b"\x00\x00", b"\x01\x00", b"\x01\x00trailing bytes"):
            path = self.write("tiny.dat", content)
            run = self.info(path)
            self.assertEqual(run.err, "")
            self.assertEqual(run.json()["mines"], 0)
        # Wholly empty records (earlier versions padded the collection with
        # them) are dropped; the others stay.
        path = self.write("pad.dat", archive([record(0, 0, 0), RECORDS[0], record(0, 0, 0)]))
        run = self.info(path)
        self.assertEqual((run.err, run.json()["mines"]), ("", 1))

    def test_damaged_input_leaves_other_files_alone(self):
        out = self.write("keep.pnt", b"keep me")
        path = self.write("bad.dat", b"\xff\xff")
        before = self.read(path)
        run = run_cli("export-dat", path, out)
        # Nothing was read, and the archive of nothing replaces the file.
        self.assertEqual(run.status, 4, run)
        self.assertIn("damaged", run.err)
        self.assertEqual(self.read(path), before)
        self.assertEqual(sorted(os.listdir(self.dir)), ["bad.dat", "keep.pnt"])


class ArchiveLimitTest(CliTestCase):
    """The count is a 16-bit word: 65535 elements, so 65534 mines at most."""

    def mines_csv(self, leaf, count):
        lines = ["DEP_ID,SITE_NAME,LATITUDE,LONGITUDE"]
        lines += ["%d,M%d,%d.5,%.1f" % (i, i, i // 1000, (i % 1000) / 10 - 50)
                  for i in range(1, count + 1)]
        return self.write(leaf, "\n".join(lines) + "\n")

    def test_exactly_65535_elements(self):
        data = self.mines_csv("max.csv", 65534)
        dat = self.path("max.dat")
        size = os.path.getsize(data)
        self.run_ok("export-dat", data, dat, input_size=size, records=65535)
        content = self.read(dat)
        self.assertEqual(content[:2], b"\xff\xff")
        run = self.run_ok("info", dat, "--json", input_size=len(content), records=65535)
        self.assertEqual(run.err, "")
        self.assertEqual(run.json()["mines"], 65534)
        last = self.run_ok("lookup", dat, "65.5", "3.4", "--json", input_size=len(content),
                           records=65535).json()
        self.assertEqual(last["fields"]["SITE_NAME"], "M65534")
        # And once more, from the archive itself: the same bytes.
        self.run_ok("export-dat", dat, self.path("again.dat"), input_size=len(content),
                    records=65535)
        self.assertEqual(self.read(self.path("again.dat")), content)

    def test_one_mine_too_many_is_refused(self):
        data = self.mines_csv("over.csv", 65535)
        out = self.write("over.dat", b"an earlier archive")
        run = run_cli("export-dat", data, out)
        self.assertEqual(run.status, 3, run)
        self.assertSane(run, os.path.getsize(data), 65536)
        self.assertIn("65535 mines", run.err)
        self.assertIn("65534", run.err)
        self.assertIn(shown(out), run.err)
        self.assertEqual(self.read(out), b"an earlier archive")
        self.assertEqual(sorted(os.listdir(self.dir)), ["over.csv", "over.dat"])
        # The point file has no such limit.
        self.run_ok("export-pnt", data, self.path("over.pnt"), input_size=os.path.getsize(data),
                    records=65536)
        self.assertEqual(self.read(self.path("over.pnt"))[:len(PNT_HEADER)], PNT_HEADER)
