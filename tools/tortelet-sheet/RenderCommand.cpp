#include "AtomicFile.h"
#include "Commands.h"
#include "WorkbookPassword.h"

#include "sheet/Errors.h"
#include "sheet/automation/Application.h"
#include "sheet/automation/Range.h"
#include "sheet/automation/Workbook.h"
#include "sheet/automation/Worksheet.h"
#include "sheet/model/Workbook.h"
#include "sheet/render/PictureExport.h"
#include "sheet/render/PictureWriter.h"
#include "sheet/render/RangePicture.h"
#include "sheet/render/RenderError.h"
#include "sheet/render/SheetArea.h"

#include <QGuiApplication>

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

sheet::render::PictureFormat pictureFormat(const std::string& path)
{
    const std::optional<sheet::render::PictureFormat> format = sheet::render::pictureFormatOf(path);
    if (!format)
        throw UsageError("the picture's name must end in .png, .bmp, .svg or .pdf: " + path);
    return *format;
}

// "--scale 2" (from above 0 up to 16) for a bitmap.
double parseScale(const std::string& text)
{
    std::size_t used = 0;
    double scale = 0;
    try {
        scale = std::stod(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used != text.size() || !(scale > 0) || scale > 16)
        throw UsageError("--scale takes a number above 0 and up to 16, not \"" + text + "\"");
    return scale;
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
    if (arguments.size() < 2)
        throw UsageError("render takes a workbook and a picture file");
    const std::string& path = arguments[0];
    const std::string& out = arguments[1];
    const sheet::render::PictureFormat format = pictureFormat(out);
    bool wholeSheet = false;
    std::optional<sheet::model::CellRange> range;
    std::optional<double> scale;
    for (std::size_t k = 2; k < arguments.size(); ++k) {
        const std::string& option = arguments[k];
        const bool valued = option == "--range" || option == "--scale";
        if (valued && k + 1 == arguments.size())
            throw UsageError(option + " needs a value");
        if (option == "--sheet" && !wholeSheet && !range)
            wholeSheet = true;
        else if (option == "--range" && !wholeSheet && !range)
            range = parseRange(arguments[++k]);
        else if (option == "--scale" && !scale)
            scale = parseScale(arguments[++k]);
        else
            throw UsageError("render takes at most one of --range CELLS and --sheet, and --scale once, after the "
                             "picture file; not \"" + option + "\"");
    }
    if (scale && !sheet::render::isBitmap(format))
        throw UsageError("--scale is for .png and .bmp pictures; SVG and PDF are drawn as vectors");

    const auto gui = guiApplication();
    const sheet::render::PictureOptions options{scale.value_or(1.0), !sheet::render::isBitmap(format)};
    sheet::Application application;
    sheet::Workbook* workbook = nullptr;
    const sheet::model::Workbook* model = nullptr;
    int sheetIndex = 0;
    try {
        workbook = &openWorkbook(application.workbooks(), path, password);
        model = &workbook->model();
        sheetIndex = workbook->ActiveSheet().index();
        if (!wholeSheet && !range) {
            // The picture the program copies: the used range with the charts beside it and the text that runs on.
            const sheet::Range used = workbook->ActiveSheet().UsedRange();
            range = sheet::render::pictureArea(
                *model, model->sheets.at(static_cast<std::size_t>(sheetIndex)),
                sheet::model::CellRange{used.firstRow - 1, used.firstColumn - 1, used.lastRow - 1, used.lastColumn - 1});
        }
    } catch (const sheet::Error& error) {
        throw FileFailure(path, error.what());
    }

    // The picture goes to its file as it is drawn. One that cannot be drawn is the workbook's failure,
    // one that cannot be written the picture's.
    std::optional<std::string> drawingFailure;
    try {
        writeFileAtomically(out, [&](const sheet::io::ByteSink& sink) {
            try {
                sheet::render::PictureWriter writer(format, sink, scale.value_or(1.0));
                if (wholeSheet)
                    sheet::render::recordSheet(*model, sheetIndex, options, writer);
                else
                    sheet::render::recordRange(*model, sheetIndex, *range, options, writer);
                writer.finish();
            } catch (const sheet::render::PictureTooLarge& error) {
                drawingFailure = std::string(error.what())
                    + (sheet::render::isBitmap(format) ? "; draw fewer cells with --range, at a smaller --scale, "
                                                         "or as an .svg or .pdf drawing"
                                                       : "; draw fewer cells with --range");
                throw;
            } catch (const sheet::render::RenderError& error) {
                drawingFailure = error.what();
                throw;
            }
        });
    } catch (const FileFailure&) {
        if (drawingFailure)
            throw FileFailure(path, *drawingFailure);
        throw;
    }
    workbook->Close();
    application.Quit();
    return 0;
}

}  // namespace

Command renderCommand()
{
    return {"render", "render WORKBOOK OUT [--range CELLS | --sheet] [--scale FACTOR] [--password-file FILE]",
            "    Draws the active sheet of a workbook in any format convert reads (the first worksheet when a chart sheet is active) as a\n"
            "    spreadsheet shows it and writes the picture to OUT, by its extension a PNG or BMP\n"
            "    bitmap, an SVG image or a PDF document: by default the used range grown to hold\n"
            "    every chart, as the program's preview shows it; the cells given with --range (such\n"
            "    as A1:O26) exactly; or with --sheet the whole sheet with its charts. A bitmap has 96\n"
            "    pixels to the inch, times --scale (above 0, up to 16; 2 for a sharp picture on a\n"
            "    high-density screen). SVG and PDF hold the same vector drawing the preview plays, at\n"
            "    its natural size, with text that can be searched and selected. The PDF is one page\n"
            "    of the picture's size; a picture longer or wider than 200 inches (14,400 points, the\n"
            "    largest PDF page) is split over pages of at most that size, down and then across,\n"
            "    never made smaller. Needs no display.\n",
            render};
}

}  // namespace tools
