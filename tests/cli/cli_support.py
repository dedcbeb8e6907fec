"""Running vemra-cli as a user would, and watching what it does.

Every run has a time limit, records the peak resident memory of the process
and keeps stdout and stderr as bytes. Scratch folders are made per test and
removed afterwards.

With VEMRA_CLI_PREFIX set (e.g. "/usr/lib/wine/wine64") the Windows
vemra-cli.exe runs under it: paths are handed over as Windows paths on drive
Z:, the CR LF that Windows writes for a line break on stdout and stderr reads
as LF, and peak memory is not measured.
"""

import hashlib
import json
import os
import shutil
import shlex
import signal
import subprocess
import tempfile
import time
import unittest

CLI = os.environ.get("VEMRA_CLI", "")
CLI_PREFIX = shlex.split(os.environ.get("VEMRA_CLI_PREFIX", ""))
UNDER_WINE = bool(CLI_PREFIX)
PEAK_RSS = os.environ.get("VEMRA_PEAK_RSS", "")
DATA = os.environ.get("VEMRA_TEST_DATA", "")
SAMPLE = os.path.join(DATA, "mrds-sample.csv")
# Sanitizer builds are slower and take more memory for their own books.
SANITIZED = os.environ.get("VEMRA_SANITIZED", "OFF").upper() in ("ON", "1", "TRUE", "YES")

RUN_TIMEOUT = 120 if SANITIZED or UNDER_WINE else 30
# Peak memory allowed for a run on a file of n bytes: a fixed base for the
# program itself plus a multiple of the file's size.
MEMORY_BASE = (256 if SANITIZED else 48) << 20
MEMORY_PER_BYTE = 16 if SANITIZED else 8
# ...and per record, for files of many short records (a record of 44 empty
# texts costs some 400 bytes in memory, 54 in an archive).
MEMORY_PER_RECORD = 2048 if SANITIZED else 1024


class Run:
    def __init__(self, args, status, stdout, stderr, max_rss, seconds):
        self.args = args
        self.status = status
        self.stdout = stdout
        self.stderr = stderr
        self.max_rss = max_rss  # bytes
        self.seconds = seconds

    @property
    def err(self):
        return self.stderr.decode("utf-8", "replace")

    @property
    def out(self):
        return self.stdout.decode("utf-8", "replace")

    def json(self):
        return json.loads(self.stdout.decode("utf-8"))

    def __repr__(self):
        return "vemra-cli %s -> %s\nstderr: %s" % (
            " ".join(self.args)[:300], self.status, self.err[:1000])


def shown(path):
    """`path` as vemra-cli is given it and names it in its messages."""
    if UNDER_WINE and path.startswith("/"):
        return "Z:" + path.replace("/", "\\")
    return path


def run_cli(*args, timeout=RUN_TIMEOUT, cwd=None):
    """Runs vemra-cli with `args` under the peak-memory reporter. Output goes
    to files, not pipes, so that a process writing a lot never blocks. A run
    past `timeout` is killed, with the reporter, and fails the test."""
    args = [shown(str(a)) for a in args]
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err, \
            tempfile.NamedTemporaryFile(prefix="vemra_rss_") as report:
        start = time.monotonic()
        command = CLI_PREFIX + [CLI] if UNDER_WINE else [PEAK_RSS, report.name, CLI]
        proc = subprocess.Popen(command + args, stdin=subprocess.DEVNULL,
                                stdout=out, stderr=err, cwd=cwd, start_new_session=True)
        try:
            status = proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            os.killpg(proc.pid, signal.SIGKILL)
            proc.wait()
            raise AssertionError("vemra-cli %s hung (over %d s)" % (" ".join(args)[:200],
                                                                     timeout))
        seconds = time.monotonic() - start
        if status > 128:
            status = -(status - 128)  # ended by a signal
        out.seek(0)
        err.seek(0)
        report.seek(0)
        max_rss = int(report.read().decode() or "0")
        stdout, stderr = out.read(), err.read()
        if UNDER_WINE:
            stdout, stderr = stdout.replace(b"\r\n", b"\n"), stderr.replace(b"\r\n", b"\n")
        return Run(args, status, stdout, stderr, max_rss, seconds)


def digest(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def snapshot(folder):
    """Every file under `folder` with its content's digest."""
    files = {}
    for root, dirs, names in os.walk(folder):
        for name in dirs:
            files[os.path.relpath(os.path.join(root, name), folder) + "/"] = "folder"
        for name in names:
            path = os.path.join(root, name)
            files[os.path.relpath(path, folder)] = digest(path)
    return files


class CliTestCase(unittest.TestCase):
    maxDiff = None

    def setUp(self):
        if not CLI or not os.path.exists(CLI):
            self.fail("VEMRA_CLI does not name the built vemra-cli: %r" % CLI)
        if not UNDER_WINE and (not PEAK_RSS or not os.path.exists(PEAK_RSS)):
            self.fail("VEMRA_PEAK_RSS does not name the built vemra_peak_rss: %r" % PEAK_RSS)
        self.dir = tempfile.mkdtemp(prefix="vemra_cli_")

    def tearDown(self):
        shutil.rmtree(self.dir, ignore_errors=True)

    def path(self, leaf):
        return os.path.join(self.dir, leaf)

    def write(self, leaf, data):
        if isinstance(data, str):
            data = data.encode("latin-1")
        path = self.path(leaf)
        with open(path, "wb") as f:
            f.write(data)
        return path

    def read(self, path):
        with open(path, "rb") as f:
            return f.read()

    def run_ok(self, *args, input_size=0, records=0):
        run = run_cli(*args)
        self.assertEqual(run.status, 0, run)
        self.assertSane(run, input_size, records)
        return run

    def assertSane(self, run, input_size=0, records=0):
        """No crash (a signal or a sanitizer's report) and memory in bounds."""
        self.assertGreaterEqual(run.status, 0, "killed by a signal: %r" % run)
        for marker in ("AddressSanitizer", "runtime error:", "LeakSanitizer", "terminate called"):
            self.assertNotIn(marker, run.err, run)
        limit = MEMORY_BASE + MEMORY_PER_BYTE * input_size + MEMORY_PER_RECORD * records
        if os.environ.get("VEMRA_SHOW_MEMORY"):
            print("  peak %6.1f MB, file %6.1f MB: %s" % (run.max_rss / 2**20, input_size / 2**20,
                                                       " ".join(run.args)[:100]))
        self.assertLessEqual(run.max_rss, limit, "peak memory %d MB for a file of %d MB: %r" % (
            run.max_rss >> 20, input_size >> 20, run))

    def assertFailsCleanly(self, run, status, *message_parts):
        """Exit `status`, nothing on stdout, a message naming each part."""
        self.assertEqual(run.status, status, run)
        self.assertEqual(run.stdout, b"", run)
        self.assertSane(run)
        self.assertNotEqual(run.err.strip(), "", run)
        for part in message_parts:
            self.assertIn(part, run.err, run)
