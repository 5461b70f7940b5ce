#include "ResultFormat.h"

#include "FileCopy.h"

#include "sheet/automation/Application.h"
#include "sheet/automation/Workbook.h"

#include <QFile>

#include <algorithm>

namespace preview {

namespace {

struct Filter {
    ResultFormat format;
    const char* text;
    const char* extension;
    int fileFormat; // the engine's SaveAs code
};

constexpr Filter kFilters[] = {
    {ResultFormat::Excel97, "Excel Files (*.xls)|*.xls|", ".xls", 56},
    {ResultFormat::Workbook, "Excel Workbook (*.xlsx)|*.xlsx|", ".xlsx", 51},
    {ResultFormat::OpenDocument, "OpenDocument Spreadsheet (*.ods)|*.ods|", ".ods", 60},
    {ResultFormat::MacroWorkbook, "Excel Macro-Enabled Workbook (*.xlsm)|*.xlsm|", ".xlsm", 52},
};

const Filter& filterOf(ResultFormat format) { return kFilters[static_cast<int>(format)]; }

std::string localPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace

ResultFormat ScratchFormat(const QString& scratch)
{
    for (const Filter& entry : kFilters)
        if (scratch.endsWith(QLatin1String(entry.extension), Qt::CaseInsensitive))
            return entry.format;
    return ResultFormat::Excel97;
}

std::vector<ResultFormat> ResultFormats(ResultFormat scratch)
{
    std::vector<ResultFormat> formats{scratch};
    for (ResultFormat format : {ResultFormat::Excel97, ResultFormat::Workbook, ResultFormat::OpenDocument})
        if (format != scratch)
            formats.push_back(format);
    return formats;
}

QString ResultFilter(ResultFormat scratch)
{
    QString filter;
    for (ResultFormat format : ResultFormats(scratch))
        filter += QLatin1String(filterOf(format).text);
    return filter;
}

ResultFormat ChosenResultFormat(const QString& chosen, int filter, ResultFormat scratch)
{
    const std::vector<ResultFormat> offered = ResultFormats(scratch);
    for (ResultFormat format : offered)
        if (chosen.endsWith(QLatin1String(filterOf(format).extension), Qt::CaseInsensitive))
            return format;
    return filter > 0 && filter < static_cast<int>(offered.size()) ? offered[static_cast<std::size_t>(filter)]
                                                                   : offered.front();
}

QString ResultPath(const QString& chosen, ResultFormat format)
{
    const QLatin1String extension(filterOf(format).extension);
    if (format == ResultFormat::Excel97 || chosen.isEmpty() || chosen.endsWith(extension, Qt::CaseInsensitive))
        return chosen;
    return chosen + extension;
}

void SaveResult(const QString& scratch, const QString& path, ResultFormat format)
{
    if (format == ScratchFormat(scratch)) {
        CopyFileReplacing(scratch, path);
        return;
    }
    sheet::Application instance;
    sheet::Workbook& workbook = instance.workbooks().Open(localPath(scratch));
    workbook.SaveAs(localPath(path), filterOf(format).fileFormat, sheet::biff::SaveTarget::ChosenFile);
    instance.Quit();
}

}  // namespace preview
