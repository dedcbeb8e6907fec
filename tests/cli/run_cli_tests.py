"""Runs one group of the command-line tests: run_cli_tests.py MODULE[.CLASS]...

The built vemra-cli, the sample data folder and whether the build uses the
sanitizers come from the environment (VEMRA_CLI, VEMRA_TEST_DATA,
VEMRA_SANITIZED), which CTest sets."""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

if __name__ == "__main__":
    names = sys.argv[1:]
    if not names:
        sys.exit("usage: run_cli_tests.py MODULE[.CLASS]...")
    suite = unittest.defaultTestLoader.loadTestsFromNames(names)
    result = unittest.TextTestRunner(verbosity=2).run(suite)
    sys.exit(0 if result.wasSuccessful() and result.testsRun > 0 else 1)
