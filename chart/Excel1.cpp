#include "Excel1.h"

#include "ClipboardKeeper.h"
#include "PictureFile.h"
#include "Required.h"

#include "common/FileRoutines.h"
#include "common/Handler.h"
#include "platform/ApplicationTitle.h"
#include "sheet/automation/Application.h"
#include "sheet/automation/Workbook.h"

#include <QFile>
#include <QLocale>

#include <cmath>
#include <stdexcept>

namespace chart {

namespace {

int wholeNumber(const QString& text)
{
    bool ok = false;
    const double value = QLocale().toDouble(text, &ok);
    if (!ok)
        throw std::runtime_error("Type mismatch: \"" + text.toStdString() + "\" is not a number");
    const double rounded = std::nearbyint(value);
    if (!(rounded >= -32768 && rounded <= 32767))
        throw std::runtime_error("Overflow: " + text.toStdString() + " is not a whole number in range");
    return static_cast<int>(rounded);
}

}  // namespace

bool warnIfExcelRunning(platform::MessageBoxes& boxes)
{
    if (!isExcelRunning())
        return false;
    platform::MessageRequest request;
    request.text = QStringLiteral("Excel may be open. It is recommended that you close Excel first.\r"
                                  "Use Ctrl+Alt+Del > Task Manager > EXCEL.EXE if necessary.\r\n\r\n"
                                  "Would you like to proceed anyway?");
    request.buttons = platform::Buttons::YesNo;
    request.icon = platform::Icon::None;
    request.title = platform::applicationTitle();
    request.defaultButton = platform::AnswerYes;
    return boxes.show(request) != platform::AnswerYes;
}

bool isExcelRunning()
{
    try {
        const std::optional<std::string> name = sheet::Application::findRunning();
        return name && *name == sheet::Application::Name;
    } catch (...) {
        return false;
    }
}

std::unique_ptr<sheet::Application> openWorkbookInNewExcel(const QString& path, platform::Clipboard& clipboard)
{
    auto instance = std::make_unique<sheet::Application>();
    instance->setPictureSink(
        [&clipboard](const sheet::render::SheetDrawing& drawing) { clipboard.setPicture(drawing); });
    instance->workbooks().Open(QFile::encodeName(path).toStdString());
    return instance;
}

int getSaveFileFormat(sheet::Application* instance)
{
    if (instance != nullptr)
        return fileFormatForVersion(QString::fromStdString(instance->Version()));
    sheet::Application temporary;
    const QString version = QString::fromStdString(temporary.Version());
    temporary.Quit();
    return fileFormatForVersion(version);
}

int fileFormatForVersion(const QString& version)
{
    constexpr int excel97To2003Workbook = 56, olderNormalWorkbook = -4143;
    return wholeNumber(common::ConvertDecimalSeparator(version, false)) > 11 ? excel97To2003Workbook
                                                                             : olderNormalWorkbook;
}

void saveCellsActivesheet(platform::MessageBoxes& boxes, platform::Clipboard& clipboard, sheet::Workbook* workbook,
                          const QString& picturePath)
{
    common::Handler h(boxes, QStringLiteral("Torvane2021/08/31.Excel1.saveCellsActivesheet"));
    std::unique_ptr<ClipboardKeeper> keeper;
    sheet::Worksheet* sheet = nullptr;
    h(100, [&] { sheet = &required(workbook, "the workbook").ActiveSheet(); });
    h(110, [&] {
        // Whatever the person had on the clipboard must never pass for the sheet's picture.
        keeper = std::make_unique<ClipboardKeeper>(clipboard);
        clipboard.restore(nullptr);
        required(sheet, "the active sheet").UsedRange().CopyPicture();
    });
    h(112, [&] { SavePictureFile(common::GetClipboardPicture(clipboard, 0), picturePath); });
}

}  // namespace chart
