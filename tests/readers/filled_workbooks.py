"""Workbooks filled by `tortelet-sheet fill`, shared by the reader checks.

The program is named by the environment variable TORTELET_SHEET, the folder of workbooks made
by other programs by TORTELET_TEST_DATA.
"""

import os
import subprocess

AMOUNT_FORMAT = '_($* #,##0_);_($* (#,##0);_($* "-"??_);_(@_)'

SAMPLE = [("Savings", "25000"), ("401k", "55000"), ("Stocks", "15000"),
          ("House", "250000"), ("Bonds", "11000"), ("Car", "7500")]

CASES = {
    "sample": SAMPLE,
    "seven": SAMPLE + [("Boat", "3200")],
    "twenty": [("Item %d" % number, str(1000 * number + number)) for number in range(1, 21)],
    "unicode": [("Épargne", "100"), ("Жильё", "200"), ("株式", "300"), ("Ahorros 💰", "400"),
                ("Quote \" and 'apostrophe'", "500"), ("a" * 200, "600")],
    "decimals": [("Cash", "1234.56"), ("Coins", "0.5"), ("Debt", "-42.25"),
                 ("Tiny", "0.001"), ("Big", "1234567.875")],
    "few": [("One", "1"), ("Two", "2"), ("Three", "3")],
    "empty": [],
}

# The fills written as .xlsx: the sample, one entry, and a thousand.
# The cases filled straight into the package formats, .xlsx and .ods.
PACKAGE_CASES = {
    "sample": SAMPLE,
    "one": [("Savings", "25000")],
    "thousand": [("Asset %d" % number, str(100 + 7 * number)) for number in range(1, 1001)],
}

# Workbooks from other programs and the sheet that a fill writes to (their active sheet).
FOREIGN = {
    "writeexcel-budget.xls": "Assets",
    "libreoffice-inventory.xls": "Assets",
    "libreoffice-pie.xls": "Data",
}

# Encrypted workbooks from other programs: the password that opens them (None for the built-in
# default password) and a cell outside the data rows that a fill keeps.
ENCRYPTED = {
    "default-password-encrypted.xls": (None, ("A1", "test cell value")),
    "libreoffice-password.xls": ("Brötchen-7", ("A411", "line 411 – ünïcödé")),
}

FIRST_DATA_ROW = 4
TEMPLATE_LAST_DATA_ROW = 9


def tool():
    return os.environ["TORTELET_SHEET"]


def test_data(name):
    return os.path.join(os.environ["TORTELET_TEST_DATA"], name)


def last_data_row(entries):
    """The last row (1-based) that the chart's ranges cover after a fill."""
    return max(TEMPLATE_LAST_DATA_ROW, FIRST_DATA_ROW + len(entries) - 1)


def run_tool(*arguments, entries=None, password=None):
    environment = dict(os.environ, LANG="C.UTF-8", LC_ALL="C.UTF-8")
    environment.pop("DISPLAY", None)
    environment.pop("TORTELET_PASSWORD", None)
    if password is not None:
        environment["TORTELET_PASSWORD"] = password
    text = "".join("%s\t%s\n" % entry for entry in entries or [])
    subprocess.run([tool(), *arguments], input=text.encode("utf-8"), env=environment,
                   check=True, timeout=60)


def write_template(folder):
    path = os.path.join(folder, "Pie Chart.xlt")
    run_tool("template", path)
    return path


def fill(template, folder, name, entries, extension=".xls", password=None):
    """Fills `template` with the entries (given on standard input) and returns the new workbook, in
    the format that `extension` names."""
    path = os.path.join(folder, name + extension)
    run_tool("fill", template, path, "-", entries=entries, password=password)
    return path


def fill_all_cases(folder):
    template = write_template(folder)
    return {name: fill(template, folder, name, entries) for name, entries in CASES.items()}


def fill_package_cases(folder, extension):
    """The package cases filled into the format that `extension` (".xlsx" or ".ods") names."""
    template = write_template(folder)
    return {name: fill(template, folder, name, entries, extension) for name, entries in PACKAGE_CASES.items()}


def fill_foreign(folder):
    """Each foreign workbook filled with the seven-entry case: {name: (original, filled)}."""
    return {name: (test_data(name), fill(test_data(name), folder, "filled-" + name[:-4], CASES["seven"]))
            for name in FOREIGN}


def fill_encrypted(folder):
    """Each encrypted workbook filled with the seven-entry case: {name: filled copy}."""
    return {name: fill(test_data(name), folder, "filled-" + name[:-4], CASES["seven"], password=password)
            for name, (password, _) in ENCRYPTED.items()}
