#pragma once

#include <QLocale>
#include <QString>

namespace entries {

// The amount test of the editing commands: a number in the user's regional format or written
// with a point; the empty text is no number.
bool IsNumeric(const QString& text, const QLocale& locale = QLocale::system());

}  // namespace entries
