#!/usr/bin/python3
"""Gnumeric's ssconvert reads the values of the .xlsx and the .ods that `tortelet-sheet fill` wrote,
without a warning; of the .xlsx but the two that name what Gnumeric 1.12 does not read of any 3-D pie:
the chart's 3-D view and the 3-D pie itself (both valid SpreadsheetML, which Gnumeric skips)."""

import csv
import itertools
import os
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, HERE)
import filled_workbooks as filled  # noqa: E402

# What Gnumeric says of each format when it reads it whole.
WARNINGS = {
    ".xlsx": "Unexpected element 'c:view3D' in state : \n\tchartSpace -> chart\n"
             "Unexpected element 'c:pie3DChart' in state : \n\tchartSpace -> chart -> plotArea\n",
    ".ods": "",
}


class FilledPackages(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.TemporaryDirectory(prefix="tortelet-gnumeric-")
        cls.paths = {extension: filled.fill_package_cases(cls.folder.name, extension) for extension in WARNINGS}

    @classmethod
    def tearDownClass(cls):
        cls.folder.cleanup()

    def test_values_of_every_case_without_warnings(self):
        for (extension, paths), (name, entries) in itertools.product(self.paths.items(),
                                                                     filled.PACKAGE_CASES.items()):
            with self.subTest(case=name + extension):
                text = self.path_csv(paths[name], WARNINGS[extension])
                rows = list(csv.reader(text.splitlines()))
                # The text starts at the first row with content, the header.
                self.assertEqual(rows[0][:2], ["Asset Type", "Amount"])
                for index, (label, amount) in enumerate(entries):
                    row = rows[1 + index]
                    self.assertEqual(row[0], label)
                    self.assertEqual(float(row[1]), float(amount))

    def path_csv(self, path, warnings):
        target = path + ".csv"
        environment = dict(os.environ, LC_ALL="C.UTF-8")
        environment.pop("DISPLAY", None)
        done = subprocess.run(["ssconvert", path, target], env=environment,
                              capture_output=True, text=True, timeout=120)
        self.assertEqual(done.returncode, 0, done.stderr)
        self.assertEqual(done.stderr, warnings)
        with open(target, encoding="utf-8") as stream:
            return stream.read()


if __name__ == "__main__":
    unittest.main()
