#include "ResultFormat.h"

#include "FileCopy.h"

#include "sheet/biff/WorkbookFile.h"
#include "sheet/ods/OdsFile.h"
#include "sheet/xlsx/XlsxFile.h"

#include <QFile>

namespace preview {

namespace {

struct Filter {
    ResultFormat format;
    const char* text;
    const char* extension;
};

constexpr Filter kFilters[] = {
    {ResultFormat::Excel97, "Excel Files (*.xls)|*.xls|", ".xls"},
    {ResultFormat::Workbook, "Excel Workbook (*.xlsx)|*.xlsx|", ".xlsx"},
    {ResultFormat::OpenDocument, "OpenDocument Spreadsheet (*.ods)|*.ods|", ".ods"},
};

std::string localPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace

QString ResultFilter()
{
    QString filter;
    for (const Filter& entry : kFilters)
        filter += QLatin1String(entry.text);
    return filter;
}

ResultFormat ChosenResultFormat(const QString& chosen, int filter)
{
    for (const Filter& entry : kFilters)
        if (chosen.endsWith(QLatin1String(entry.extension), Qt::CaseInsensitive))
            return entry.format;
    return filter > 0 && filter < static_cast<int>(std::size(kFilters)) ? kFilters[filter].format
                                                                         : ResultFormat::Excel97;
}

QString ResultPath(const QString& chosen, ResultFormat format)
{
    const QLatin1String extension(kFilters[static_cast<int>(format)].extension);
    if (format == ResultFormat::Excel97 || chosen.isEmpty() || chosen.endsWith(extension, Qt::CaseInsensitive))
        return chosen;
    return chosen + extension;
}

void SaveResult(const QString& scratch, const QString& path, ResultFormat format)
{
    if (format == ResultFormat::Excel97) {
        CopyFileReplacing(scratch, path);
        return;
    }
    const sheet::biff::WorkbookFile file = sheet::biff::openWorkbookFile(localPath(scratch));
    if (format == ResultFormat::Workbook)
        sheet::xlsx::saveXlsxFile(file.workbook, localPath(path), sheet::biff::SaveTarget::ChosenFile);
    else
        sheet::ods::saveOdsFile(file.workbook, localPath(path), sheet::biff::SaveTarget::ChosenFile);
}

}  // namespace preview
