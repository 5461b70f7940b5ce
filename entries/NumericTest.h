#pragma once

#include <QLocale>
#include <QString>

namespace entries {

// The amount test of the editing commands: the amount reads as a number in the user's locale, as
// the chart build's cell will read it; the empty text is no number.
bool IsNumeric(const QString& text, const QLocale& locale = QLocale::system());

}  // namespace entries
