#include "AtomicFile.h"
#include "Commands.h"
#include "WorkbookPassword.h"

#include "sheet/Errors.h"
#include "sheet/automation/Application.h"
#include "sheet/automation/Range.h"
#include "sheet/automation/Workbook.h"
#include "sheet/automation/Worksheet.h"
#include "sheet/model/Workbook.h"
#include "sheet/render/PictureEncoding.h"
#include "sheet/render/RangePicture.h"
#include "sheet/render/SheetArea.h"

#include <QGuiApplication>
#include <QImage>

#include <iostream>
#include <memory>
#include <optional>
#include <ostream>
#include <regex>

namespace tools {

namespace {

// "A1:O26" (or one cell) as a 0-based range.
sheet::model::CellRange parseRange(const std::string& text)
{
    static const std::regex pattern(R"(([A-Za-z]{1,2})([0-9]{1,5})(?::([A-Za-z]{1,2})([0-9]{1,5}))?)");
    std::smatch match;
    if (!std::regex_match(text, match, pattern))
        throw UsageError("--range takes cells such as A1:O26, not \"" + text + "\"");
    auto column = [](const std::string& letters) {
        int number = 0;
        for (char c : letters)
            number = number * 26 + (std::toupper(static_cast<unsigned char>(c)) - 'A' + 1);
        return number - 1;
    };
    const std::string lastColumn = match[3].matched ? match[3].str() : match[1].str();
    const std::string lastRow = match[4].matched ? match[4].str() : match[2].str();
    sheet::model::CellRange range{std::stoi(match[2]) - 1, column(match[1]), std::stoi(lastRow) - 1, column(lastColumn)};
    if (range.firstRow < 0 || range.lastRow < 0 || range.firstRow > range.lastRow || range.firstColumn > range.lastColumn
        || range.lastColumn > 255 || range.lastRow > 65535)
        throw UsageError("--range " + text + " is not a range of a sheet");
    return range;
}

const char* pictureFormat(const std::string& path)
{
    auto endsWith = [&path](const char* suffix) {
        const std::string s(suffix);
        if (path.size() < s.size())
            return false;
        for (std::size_t k = 0; k < s.size(); ++k) {
            if (std::tolower(static_cast<unsigned char>(path[path.size() - s.size() + k])) != s[k])
                return false;
        }
        return true;
    };
    if (endsWith(".png"))
        return "PNG";
    if (endsWith(".bmp"))
        return "BMP";
    throw UsageError("the picture's name must end in .png or .bmp: " + path);
}

// Qt's own notes about the session (no runtime folder, no fonts cache) are not the command's output:
// a failure is one line on standard error.
void keepQtNotesQuiet(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::cerr << message.toStdString() << '\n';
}

// Fonts need a GUI application; without a display the offscreen platform serves.
std::unique_ptr<QGuiApplication> guiApplication()
{
    if (QGuiApplication::instance())
        return nullptr;
    qInstallMessageHandler(keepQtNotesQuiet);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "tortelet-sheet";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

int render(const Arguments& given, std::ostream&)
{
    Arguments arguments = given;
    const std::string password = takePassword(arguments);
    if (arguments.size() != 2 && arguments.size() != 3 && arguments.size() != 4)
        throw UsageError("render takes a workbook, a picture file and at most one of --range CELLS and --sheet");
    const std::string& path = arguments[0];
    const std::string& out = arguments[1];
    const char* format = pictureFormat(out);
    bool wholeSheet = false;
    std::optional<sheet::model::CellRange> range;
    if (arguments.size() == 3 && arguments[2] == "--sheet")
        wholeSheet = true;
    else if (arguments.size() == 4 && arguments[2] == "--range")
        range = parseRange(arguments[3]);
    else if (arguments.size() != 2)
        throw UsageError("render takes at most one of --range CELLS and --sheet after the picture file");

    const auto gui = guiApplication();
    QImage picture;
    sheet::Application application;
    try {
        sheet::Workbook& workbook = openWorkbook(application.workbooks(), path, password);
        const sheet::model::Workbook& model = workbook.model();
        const int sheetIndex = workbook.ActiveSheet().index();
        if (wholeSheet) {
            picture = sheet::render::drawSheet(model, sheetIndex);
        } else {
            if (!range) {
                // The picture the program copies: the used range with the charts beside it.
                const sheet::Range used = workbook.ActiveSheet().UsedRange();
                range = sheet::render::withDrawings(
                    model.sheets.at(static_cast<std::size_t>(sheetIndex)),
                    sheet::model::CellRange{used.firstRow - 1, used.firstColumn - 1, used.lastRow - 1, used.lastColumn - 1});
            }
            picture = sheet::render::drawRange(model, sheetIndex, *range);
        }
        workbook.Close();
    } catch (const sheet::Error& error) {
        throw FileFailure(path, error.what());
    }
    application.Quit();

    const QByteArray bytes = sheet::render::encodePicture(picture, format);
    if (bytes.isEmpty())
        throw FileFailure(out, "the picture could not be encoded");
    writeFileAtomically(out, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    return 0;
}

}  // namespace

Command renderCommand()
{
    return {"render", "render WORKBOOK OUT [--range CELLS | --sheet] [--password-file FILE]",
            "    Draws the active sheet (the first worksheet when a chart sheet is active) as a\n"
            "    spreadsheet shows it and writes the picture to OUT, a PNG or a BMP file by its\n"
            "    extension: by default the used range grown to hold every chart, as the program's\n"
            "    preview shows it; the cells given with --range (such as A1:O26) exactly; or with\n"
            "    --sheet the whole sheet with its charts. Needs no display.\n",
            render};
}

}  // namespace tools
