#pragma once

#include <QLocale>
#include <QString>

namespace common {

// The one rule by which an amount is a number: the engine's typed input in the given locale (see
// sheet::readTypedInput). The editing commands test amounts with it, and the chart build's cells
// read them with it, so an amount the list accepts always reaches the sheet as a number.
bool ReadsAsNumber(const QString& text, const QLocale& locale);

}  // namespace common
