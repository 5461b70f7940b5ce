#!/usr/bin/python3
"""Converts the same filled .xls to .xlsx with `tortelet-sheet convert` and with LibreOffice's
`soffice --headless --convert-to xlsx`, in pairs, and prints the median of each and their ratio.

    compare_with_libreoffice.py TORTELET_SHEET [ROUNDS]

Both are timed as a person runs them: a whole program from start to exit. The sample list and a
list of 10,000 entries are filled first; LibreOffice gets a private profile, made by one untimed
run before the pairs."""

import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

SAMPLE = [("Savings", "25000"), ("401k", "55000"), ("Stocks", "15000"),
          ("House", "250000"), ("Bonds", "11000"), ("Car", "7500")]
LARGE = [("Asset %d" % number, str(100 + 7 * number)) for number in range(1, 10001)]


def timed(command, environment):
    start = time.perf_counter()
    subprocess.run(command, env=environment, check=True, stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=600)
    return time.perf_counter() - start


def main():
    tool = os.path.abspath(sys.argv[1])
    rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    environment = dict(os.environ, LC_ALL="C.UTF-8")
    environment.pop("DISPLAY", None)
    with tempfile.TemporaryDirectory(prefix="tortelet-convert-bench-") as folder:
        template = os.path.join(folder, "Pie Chart.xlt")
        subprocess.run([tool, "template", template], check=True)
        profile = "file://" + os.path.join(folder, "profile")
        soffice = [shutil.which("soffice") or "/usr/bin/soffice", "--headless", "--norestore",
                   "-env:UserInstallation=" + profile, "--convert-to", "xlsx", "--outdir"]
        for name, entries in (("sample", SAMPLE), ("10000 entries", LARGE)):
            source = os.path.join(folder, name.replace(" ", "-") + ".xls")
            text = "".join("%s\t%s\n" % entry for entry in entries)
            subprocess.run([tool, "fill", template, source, "-"], input=text.encode(), check=True, env=environment)
            ours_out = os.path.join(folder, "ours.xlsx")
            theirs_folder = os.path.join(folder, "libreoffice")
            timed(soffice + [theirs_folder, source], environment)  # makes the profile
            ours, theirs = [], []
            for _ in range(rounds):
                ours.append(timed([tool, "convert", source, ours_out], environment))
                theirs.append(timed(soffice + [theirs_folder, source], environment))
            ours_median = statistics.median(ours)
            theirs_median = statistics.median(theirs)
            print("%-14s tortelet-sheet convert %8.1f ms   soffice --convert-to xlsx %8.1f ms   %6.0fx"
                  % (name, ours_median * 1000, theirs_median * 1000, theirs_median / ours_median))


if __name__ == "__main__":
    main()
