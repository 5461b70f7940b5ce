#include "sheet/ods/RangeAddressText.h"

#include <QList>
#include <QString>

namespace sheet::ods {
namespace {

constexpr int MaxColumns = 16384;
constexpr int MaxRows = 1048576;

// "Sheet.$B$4" or ".B4" or "B4": the sheet name (unquoted) and the cell.
bool cellOf(QStringView text, std::string& sheet, int& row, int& column)
{
    qsizetype dot = -1;
    if (text.startsWith(u'\'')) {
        QString name;
        qsizetype k = 1;
        for (; k < text.size(); ++k) {
            if (text[k] == u'\'') {
                if (k + 1 < text.size() && text[k + 1] == u'\'') {
                    name += u'\'';
                    ++k;
                    continue;
                }
                break;
            }
            name += text[k];
        }
        if (k + 1 >= text.size() || text[k + 1] != u'.')
            return false;
        sheet = name.toStdString();
        dot = k + 1;
    } else {
        dot = text.lastIndexOf(u'.');
        if (dot >= 0) {
            QStringView name = text.left(dot);
            if (name.startsWith(u'$'))
                name = name.mid(1);
            if (!name.isEmpty())
                sheet = name.toString().toStdString();
        }
    }
    QStringView cell = text.mid(dot + 1);
    if (cell.startsWith(u'$'))
        cell = cell.mid(1);
    qsizetype k = 0;
    long letters = 0;
    while (k < cell.size() && cell[k].isLetter() && cell[k].unicode() < 128) {
        letters = letters * 26 + (cell[k].toUpper().unicode() - 'A' + 1);
        if (letters > MaxColumns)
            return false;
        ++k;
    }
    if (k == 0)
        return false;
    if (k < cell.size() && cell[k] == u'$')
        ++k;
    bool ok = false;
    const long number = cell.mid(k).toLong(&ok);
    if (!ok || number < 1 || number > MaxRows)
        return false;
    row = static_cast<int>(number - 1);
    column = static_cast<int>(letters - 1);
    return true;
}

} // namespace

std::optional<RangeAddress> rangeAddress(QStringView text)
{
    RangeAddress address;
    // The colon between the corners lies outside any quoted sheet name.
    qsizetype colon = -1;
    bool quoted = false;
    for (qsizetype k = 0; k < text.size(); ++k) {
        if (text[k] == u'\'')
            quoted = !quoted;
        else if (text[k] == u':' && !quoted)
            colon = k;
    }
    const QStringView first = colon < 0 ? text : text.left(colon);
    if (!cellOf(first, address.sheet, address.range.firstRow, address.range.firstColumn))
        return std::nullopt;
    if (colon < 0) {
        address.range.lastRow = address.range.firstRow;
        address.range.lastColumn = address.range.firstColumn;
        return address;
    }
    std::string second;
    if (!cellOf(text.mid(colon + 1), second, address.range.lastRow, address.range.lastColumn))
        return std::nullopt;
    if (address.range.lastRow < address.range.firstRow)
        std::swap(address.range.lastRow, address.range.firstRow);
    if (address.range.lastColumn < address.range.firstColumn)
        std::swap(address.range.lastColumn, address.range.firstColumn);
    return address;
}

std::optional<std::vector<RangeAddress>> rangeAddresses(QStringView text)
{
    std::vector<RangeAddress> addresses;
    for (const QStringView piece : text.split(u' ', Qt::SkipEmptyParts)) {
        const std::optional<RangeAddress> address = rangeAddress(piece);
        if (!address)
            return std::nullopt;
        addresses.push_back(*address);
    }
    return addresses;
}

} // namespace sheet::ods
