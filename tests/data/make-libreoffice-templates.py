#!/usr/bin/python3
"""Writes the program's chart template (resources/templates/pie-chart.xlt) as LibreOffice saves it in the
OpenDocument formats, the way a person who designs a template in LibreOffice keeps it:

libreoffice-template.ods   the template opened and saved as a spreadsheet ("calc8")
libreoffice-template.ots   the same saved as a spreadsheet template ("calc8_template")

    /usr/bin/python3 tests/data/make-libreoffice-templates.py [output folder]
"""

import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.join(HERE, "..", "..", "tools", "office"))
from office_session import OfficeSession, file_url, properties  # noqa: E402

TEMPLATE = os.path.join(HERE, "..", "..", "resources", "templates", "pie-chart.xlt")
OUTPUTS = (("libreoffice-template.ods", "calc8"), ("libreoffice-template.ots", "calc8_template"))


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else HERE
    with OfficeSession() as office:
        for name, filter_name in OUTPUTS:
            document = office.desktop.loadComponentFromURL(
                file_url(TEMPLATE), "_blank", 0, properties(Hidden=True, AsTemplate=False))
            try:
                document.storeToURL(file_url(os.path.join(folder, name)),
                                    properties(FilterName=filter_name, Overwrite=True))
            finally:
                document.close(True)


if __name__ == "__main__":
    main()
