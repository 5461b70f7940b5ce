#include "TemplateChoice.h"

#include "sheet/automation/Application.h"
#include "sheet/automation/Workbook.h"

#include <QFile>
#include <QFileInfo>

#include <stdexcept>

namespace chart {

namespace {

struct Extension {
    const char* name;
    WorkbookKind kind;
};

constexpr Extension kExtensions[] = {
    {"xlt", WorkbookKind::Excel97},         {"xls", WorkbookKind::Excel97},
    {"xltx", WorkbookKind::OfficeOpenXml},  {"xlsx", WorkbookKind::OfficeOpenXml},
    {"xltm", WorkbookKind::OfficeOpenXmlWithMacros}, {"xlsm", WorkbookKind::OfficeOpenXmlWithMacros},
    {"ots", WorkbookKind::OpenDocument},    {"ods", WorkbookKind::OpenDocument},
    {"fods", WorkbookKind::OpenDocument},
};

}  // namespace

std::optional<WorkbookKind> TemplateKind(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    for (const Extension& extension : kExtensions)
        if (suffix == QLatin1String(extension.name))
            return extension.kind;
    return std::nullopt;
}

QString TemplateFileName(const QString& ownTemplate)
{
    if (ownTemplate.isEmpty() || !TemplateKind(ownTemplate))
        return QStringLiteral("Pie Chart.xlt");
    return QStringLiteral("Pie Chart.") + QFileInfo(ownTemplate).suffix().toLower();
}

QString ScratchExtension(WorkbookKind kind)
{
    switch (kind) {
    case WorkbookKind::OfficeOpenXml:
        return QStringLiteral(".xlsx");
    case WorkbookKind::OfficeOpenXmlWithMacros:
        return QStringLiteral(".xlsm");
    case WorkbookKind::OpenDocument:
        return QStringLiteral(".ods");
    case WorkbookKind::Excel97:
        break;
    }
    return QStringLiteral(".xls");
}

int SaveFormatCode(WorkbookKind kind)
{
    switch (kind) {
    case WorkbookKind::OfficeOpenXml:
        return 51;
    case WorkbookKind::OfficeOpenXmlWithMacros:
        return 52;
    case WorkbookKind::OpenDocument:
        return 60;
    case WorkbookKind::Excel97:
        break;
    }
    return 56;
}

QString TemplateFilter()
{
    return QStringLiteral("Chart templates (*.xlt *.xltx *.xltm *.ots *.xls *.xlsx *.xlsm *.ods *.fods)|"
                          "*.xlt;*.xltx;*.xltm;*.ots;*.xls;*.xlsx;*.xlsm;*.ods;*.fods|"
                          "Excel Templates (*.xlt *.xltx *.xltm)|*.xlt;*.xltx;*.xltm|"
                          "OpenDocument Templates (*.ots)|*.ots|");
}

void CheckTemplate(const QString& path)
{
    if (!TemplateKind(path))
        throw std::runtime_error("The chart template " + path.toStdString() +
                                 " is not a workbook the program can fill: its name must end in .xlt, .xltx, "
                                 ".xltm, .ots, .xls, .xlsx, .xlsm, .ods or .fods");
    try {
        sheet::Application instance;
        sheet::Workbook& workbook = instance.workbooks().Open(QFile::encodeName(path).toStdString());
        workbook.ActiveSheet();
        instance.Quit();
    } catch (const std::exception& failure) {
        throw std::runtime_error("The chart template " + path.toStdString() + " cannot be used: " + failure.what());
    }
}

}  // namespace chart
