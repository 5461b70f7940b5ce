#include "sheet/model/SheetNames.h"

#include <QSet>
#include <QString>

namespace sheet::model {
namespace {

constexpr qsizetype LongestName = 31;

bool forbidden(QChar c)
{
    switch (c.unicode()) {
    case u'[': case u']': case u':': case u'*': case u'?': case u'/': case u'\\': return true;
    default: return c.unicode() < 0x20 || c.unicode() == 0x7F || c.unicode() == 0xFFFE || c.unicode() == 0xFFFF;
    }
}

// The first `length` UTF-16 units of a name, without a surrogate pair cut in two.
QString cut(const QString& name, qsizetype length)
{
    if (name.size() <= length)
        return name;
    if (length > 0 && name[length - 1].isHighSurrogate())
        --length;
    return name.left(length);
}

QString mended(const std::string& original, std::size_t place)
{
    QString name = QString::fromStdString(original);
    for (qsizetype k = 0; k < name.size(); ++k) {
        const bool lone = (name[k].isHighSurrogate() && (k + 1 == name.size() || !name[k + 1].isLowSurrogate())) ||
                          (name[k].isLowSurrogate() && (k == 0 || !name[k - 1].isHighSurrogate()));
        if (forbidden(name[k]) || lone)
            name[k] = QLatin1Char('_');
    }
    name = cut(name, LongestName);
    if (name.startsWith(QLatin1Char('\'')))
        name[0] = QLatin1Char('_');
    if (name.endsWith(QLatin1Char('\'')))
        name[name.size() - 1] = QLatin1Char('_');
    if (name.isEmpty())
        name = QStringLiteral("Sheet") + QString::number(place + 1);
    return name;
}

} // namespace

std::vector<std::string> writtenSheetNames(const Workbook& workbook)
{
    std::vector<QString> names;
    names.reserve(workbook.sheets.size());
    for (std::size_t k = 0; k < workbook.sheets.size(); ++k)
        names.push_back(mended(workbook.sheets[k].name, k));

    // The first sheet of each name keeps it; the later ones get a number that no sheet has.
    QSet<QString> taken;
    std::vector<bool> kept(names.size());
    for (std::size_t k = 0; k < names.size(); ++k) {
        const QString folded = names[k].toCaseFolded();
        kept[k] = !taken.contains(folded);
        taken.insert(folded);
    }
    for (std::size_t k = 0; k < names.size(); ++k) {
        for (int number = 2; !kept[k]; ++number) {
            const QString suffix = QStringLiteral(" (") + QString::number(number) + QLatin1Char(')');
            const QString candidate = cut(names[k], LongestName - suffix.size()) + suffix;
            if (!taken.contains(candidate.toCaseFolded())) {
                names[k] = candidate;
                taken.insert(candidate.toCaseFolded());
                kept[k] = true;
            }
        }
    }
    std::vector<std::string> written;
    written.reserve(names.size());
    for (const QString& name : names)
        written.push_back(name.toStdString());
    return written;
}

} // namespace sheet::model
