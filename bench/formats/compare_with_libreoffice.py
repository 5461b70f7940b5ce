#!/usr/bin/python3
"""Converts the same filled .xls to .xlsx with `tortelet-sheet convert` and with LibreOffice's
`soffice --headless --convert-to xlsx`, in pairs, and prints the median of each and their ratio.

    compare_with_libreoffice.py TORTELET_SHEET [ROUNDS]

Both are timed as a person runs them: a whole program from start to exit. The pairs convert the
sample list; LibreOffice gets a private profile, made by one untimed run before them. A list of
10,000 entries is then converted by tortelet-sheet alone: LibreOffice lays out a pie of 10,000
labelled slices for many minutes (more than nine for one conversion where this was measured)."""

import os
import signal
import statistics
import subprocess
import sys
import tempfile
import time

SAMPLE = [("Savings", "25000"), ("401k", "55000"), ("Stocks", "15000"),
          ("House", "250000"), ("Bonds", "11000"), ("Car", "7500")]
LARGE = [("Asset %d" % number, str(100 + 7 * number)) for number in range(1, 10001)]
TIMEOUT = 300


def timed(command, environment):
    """Seconds from start to exit; a run past the timeout is stopped with everything it started."""
    start = time.perf_counter()
    process = subprocess.Popen(command, env=environment, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL, start_new_session=True)
    try:
        code = process.wait(timeout=TIMEOUT)
    except subprocess.TimeoutExpired:
        os.killpg(process.pid, signal.SIGKILL)
        process.wait()
        raise
    if code != 0:
        raise subprocess.CalledProcessError(code, command)
    return time.perf_counter() - start


def fill(tool, template, path, entries, environment):
    text = "".join("%s\t%s\n" % entry for entry in entries)
    subprocess.run([tool, "fill", template, path, "-"], input=text.encode(), check=True, env=environment)


def main():
    tool = os.path.abspath(sys.argv[1])
    rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    environment = dict(os.environ, LC_ALL="C.UTF-8")
    environment.pop("DISPLAY", None)
    with tempfile.TemporaryDirectory(prefix="tortelet-convert-bench-") as folder:
        template = os.path.join(folder, "Pie Chart.xlt")
        subprocess.run([tool, "template", template], check=True)
        ours_out = os.path.join(folder, "ours.xlsx")

        sample = os.path.join(folder, "sample.xls")
        fill(tool, template, sample, SAMPLE, environment)
        soffice = ["soffice", "--headless", "--norestore",
                   "-env:UserInstallation=file://" + os.path.join(folder, "profile"),
                   "--convert-to", "xlsx", "--outdir", os.path.join(folder, "libreoffice"), sample]
        timed(soffice, environment)  # makes the profile
        ours, theirs = [], []
        for _ in range(rounds):
            ours.append(timed([tool, "convert", sample, ours_out], environment))
            theirs.append(timed(soffice, environment))
        print("sample         tortelet-sheet convert %8.1f ms   soffice --convert-to xlsx %8.1f ms   %5.0fx"
              % (statistics.median(ours) * 1000, statistics.median(theirs) * 1000,
                 statistics.median(theirs) / statistics.median(ours)))

        large = os.path.join(folder, "large.xls")
        fill(tool, template, large, LARGE, environment)
        ours = [timed([tool, "convert", large, ours_out], environment) for _ in range(rounds)]
        print("10000 entries  tortelet-sheet convert %8.1f ms" % (statistics.median(ours) * 1000))


if __name__ == "__main__":
    main()
