#!/usr/bin/python3
"""Fills the same chart template with the same entries with `tortelet-sheet fill` and with the tools people
use for the job, and prints each one's CPU time, in process where the tool can say it, for 6, 20 and 1,000
entries.

    compare_fill.py TORTELET_SHEET TEMPLATE.xlsx [NPM_FOLDER] [ROUNDS]

NPM_FOLDER holds xlsx-populate and exceljs from npm (`npm install xlsx-populate exceljs`); without it
they are left out. openpyxl is python3-openpyxl from Debian. Each figure is the best of ROUNDS runs
(3 by default). "process" is a whole run from start to exit (user and system time of the child);
"in process" is the tool's own count around opening, filling and saving, which leaves out the start of
the interpreter. What each tool keeps of the chart is said beside it, as checked by the tests."""

import os
import resource
import subprocess
import sys
import tempfile

COUNTS = (6, 20, 1000)

OPENPYXL = r'''
import sys, time
start = time.process_time()
import openpyxl
book = openpyxl.load_workbook(sys.argv[1])
sheet = book.active
for row in range(4, 10):
    sheet.cell(row, 1).value = None
    sheet.cell(row, 2).value = None
for number in range(int(sys.argv[3])):
    sheet.cell(4 + number, 1).value = "Asset %d" % (number + 1)
    cell = sheet.cell(4 + number, 2)
    cell.value = 1000 + 7 * number
    cell.number_format = '_($* #,##0_);_($* (#,##0);_($* "-"??_);_(@_)'
book.save(sys.argv[2])
print(time.process_time() - start)
'''

XLSX_POPULATE = r'''
const start = process.cpuUsage();
const XlsxPopulate = require(process.argv[2] + "/node_modules/xlsx-populate");
XlsxPopulate.fromFileAsync(process.argv[3]).then(book => {
  const sheet = book.activeSheet();
  for (let row = 4; row <= 9; ++row) { sheet.cell(row, 1).value(undefined); sheet.cell(row, 2).value(undefined); }
  const count = Number(process.argv[5]);
  for (let n = 0; n < count; ++n) {
    sheet.cell(4 + n, 1).value("Asset " + (n + 1));
    sheet.cell(4 + n, 2).value(1000 + 7 * n).style("numberFormat", '_($* #,##0_);_($* (#,##0);_($* "-"??_);_(@_)');
  }
  return book.toFileAsync(process.argv[4]);
}).then(() => { const used = process.cpuUsage(start); console.log((used.user + used.system) / 1e6); });
'''

EXCELJS = r'''
const start = process.cpuUsage();
const ExcelJS = require(process.argv[2] + "/node_modules/exceljs");
const book = new ExcelJS.Workbook();
book.xlsx.readFile(process.argv[3]).then(() => {
  const sheet = book.worksheets[0];
  const count = Number(process.argv[5]);
  for (let n = 0; n < count; ++n) {
    sheet.getCell(4 + n, 1).value = "Asset " + (n + 1);
    const cell = sheet.getCell(4 + n, 2);
    cell.value = 1000 + 7 * n;
    cell.numFmt = '_($* #,##0_);_($* (#,##0);_($* "-"??_);_(@_)';
  }
  return book.xlsx.writeFile(process.argv[4]);
}).then(() => { const used = process.cpuUsage(start); console.log((used.user + used.system) / 1e6); });
'''


def child_cpu(command, stdin=None):
    """The CPU seconds of one run of the command, and what it printed."""
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    done = subprocess.run(command, input=stdin, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    if done.returncode != 0:
        raise RuntimeError(" ".join(command) + ": " + done.stderr.decode()[-500:])
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpu = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
    return cpu, done.stdout.decode().strip()


def best(rounds, run):
    return min((run() for _ in range(rounds)), key=lambda result: result[0])


def main():
    tool = os.path.abspath(sys.argv[1])
    template = os.path.abspath(sys.argv[2])
    npm = os.path.abspath(sys.argv[3]) if len(sys.argv) > 3 else None
    rounds = int(sys.argv[4]) if len(sys.argv) > 4 else 3
    extension = os.path.splitext(template)[1].replace(".xlt", ".xls")
    with tempfile.TemporaryDirectory() as folder:
        out = os.path.join(folder, "out" + extension)
        scripts = {}
        for name, text in (("fill_openpyxl.py", OPENPYXL), ("fill_populate.js", XLSX_POPULATE), ("fill_exceljs.js", EXCELJS)):
            scripts[name] = os.path.join(folder, name)
            with open(scripts[name], "w") as script:
                script.write(text)
        print("| tool | entries | process CPU s | in process CPU s |")
        print("|---|---|---|---|")
        for count in COUNTS:
            entries = "".join("Asset %d\t%d\n" % (n + 1, 1000 + 7 * n) for n in range(count)).encode()
            cpu, _ = best(rounds, lambda: child_cpu([tool, "fill", template, out, "-"], entries))
            print("| tortelet-sheet fill | %d | %.3f | (bench/engine openFillSave) |" % (count, cpu))
            if extension in (".xlsx", ".xlsm"):
                cpu, inside = best(rounds, lambda: child_cpu(["/usr/bin/python3", scripts["fill_openpyxl.py"], template, out,
                                                              str(count)]))
                print("| openpyxl | %d | %.3f | %s |" % (count, cpu, inside))
                if npm:
                    for name, label in (("fill_populate.js", "xlsx-populate"), ("fill_exceljs.js", "exceljs")):
                        cpu, inside = best(rounds, lambda: child_cpu(["node", scripts[name], npm, template, out,
                                                                      str(count)]))
                        print("| %s | %d | %.3f | %s |" % (label, count, cpu, inside))


if __name__ == "__main__":
    main()
