#pragma once

#include "sheet/model/CellRange.h"
#include "sheet/model/Workbook.h"

#include <optional>
#include <string>
#include <vector>

namespace sheet::biff {

// How a worksheet's window shows it and how it is printed, read from its records (WINDOW2, SCL, PANE,
// SELECTION, HEADER, FOOTER, the margins, SETUP, WSBOOL, HCENTER, VCENTER, PRINTGRIDLINES,
// PRINTHEADERS, PROTECT and its kin). A record cut short leaves its settings as they would be without it.
struct SheetSettings {
    // The window (WINDOW2, SCL, PANE, SELECTION).
    bool showFormulas = false;
    bool showGridlines = true;
    bool showHeadings = true;
    bool showZeros = true;
    bool rightToLeft = false;
    bool showOutline = true;
    bool selected = false;       // the sheet's tab is selected
    bool pageBreakPreview = false;
    int topRow = 0;              // the first row and column the window shows
    int leftColumn = 0;
    int zoom = 100;              // percent, 10 to 400
    bool frozen = false;         // the panes are frozen: `paneColumns` and `paneRows` are cells
    int paneColumns = 0;         // frozen: the columns left of the split; split: its place in twips
    int paneRows = 0;            // frozen: the rows above the split; split: its place in twips
    int paneTopRow = 0;          // the first row and column of the lower right pane
    int paneLeftColumn = 0;
    int activePane = 3;          // 0 lower right, 1 upper right, 2 lower left, 3 upper left
    struct Selection {
        int pane = 3;
        int row = 0;             // the active cell
        int column = 0;
        std::vector<model::CellRange> ranges;
    };
    std::vector<Selection> selections;

    // The page (HEADER, FOOTER, margins, SETUP, WSBOOL, HCENTER, VCENTER, PRINTGRIDLINES, PRINTHEADERS).
    std::string header;          // in the codes of a header ("&A", "Page &P"); empty when none
    std::string footer;
    double leftMargin = 0.75;    // inches
    double rightMargin = 0.75;
    double topMargin = 1;
    double bottomMargin = 1;
    double headerMargin = 0.5;
    double footerMargin = 0.5;
    bool hasSetup = false;       // a SETUP record whose values hold (fNoPls clear)
    int paperSize = 0;           // Excel's paper codes: 1 Letter, 9 A4...; 0 when none is set
    int scale = 100;             // percent
    int firstPageNumber = 1;
    bool usesFirstPageNumber = false;
    int fitWidth = 1;
    int fitHeight = 1;
    bool fitToPage = false;
    bool landscape = false;
    bool downThenOver = true;    // the order of the pages
    bool blackAndWhite = false;
    bool draft = false;
    int copies = 1;
    bool centreHorizontally = false;
    bool centreVertically = false;
    bool printGridlines = false;
    bool printHeadings = false;

    // Protection (PROTECT, OBJPROTECT, SCENPROTECT, PASSWORD).
    bool protectedContents = false;
    bool protectedObjects = false;
    bool protectedScenarios = false;
    int passwordHash = 0;        // the 16-bit hash of the password; 0 when there is none

    bool hasFrozenOrSplitPanes() const { return paneColumns > 0 || paneRows > 0; }
};

SheetSettings readSheetSettings(const model::Workbook& workbook, const model::Sheet& sheet);

// Whether the workbook's structure and windows are protected (the globals' PROTECT and WINDOWPROTECT),
// with the password's hash.
struct WorkbookProtection {
    bool structure = false;
    bool windows = false;
    int passwordHash = 0;
};

WorkbookProtection readWorkbookProtection(const model::Workbook& workbook);

} // namespace sheet::biff
