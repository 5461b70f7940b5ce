#include "XlrdReader.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

namespace testing_support {

namespace {

const char* const kScript = R"(
import json, sys, xlrd
book = xlrd.open_workbook(sys.argv[1], formatting_info=True)
sheet = book.sheet_by_index(0)
rows = []
for r in range(sheet.nrows):
    row = []
    for c in range(min(sheet.ncols, 2)):
        cell = sheet.cell(r, c)
        xf = book.xf_list[cell.xf_index]
        row.append({"kind": cell.ctype, "value": cell.value, "format": book.format_map[xf.format_key].format_str})
    rows.append(row)
print(json.dumps({"name": sheet.name, "rows": rows}))
)";

}  // namespace

ReadCell ReadSheet::cell(int row, int column) const
{
    if (row < 1 || row > static_cast<int>(rows.size()) || column < 1 ||
        column > static_cast<int>(rows[static_cast<size_t>(row - 1)].size()))
        return {};
    return rows[static_cast<size_t>(row - 1)][static_cast<size_t>(column - 1)];
}

ReadSheet readWithXlrd(const QString& path)
{
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QString::fromUtf8(kScript), path});
    const bool finished = python.waitForFinished(30000);
    const QByteArray output = python.readAllStandardOutput();
    EXPECT_TRUE(finished && python.exitCode() == 0) << python.readAllStandardError().toStdString();
    const QJsonObject root = QJsonDocument::fromJson(output).object();
    ReadSheet sheet;
    sheet.name = root.value(QStringLiteral("name")).toString();
    for (const QJsonValue& rowValue : root.value(QStringLiteral("rows")).toArray()) {
        std::vector<ReadCell> row;
        for (const QJsonValue& cellValue : rowValue.toArray()) {
            const QJsonObject cell = cellValue.toObject();
            row.push_back({cell.value(QStringLiteral("kind")).toInt(), cell.value(QStringLiteral("value")).toVariant(),
                           cell.value(QStringLiteral("format")).toString()});
        }
        sheet.rows.push_back(std::move(row));
    }
    return sheet;
}

}  // namespace testing_support
