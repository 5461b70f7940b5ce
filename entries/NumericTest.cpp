#include "NumericTest.h"

#include "common/AmountRule.h"

namespace entries {

bool IsNumeric(const QString& text, const QLocale& locale) { return common::ReadsAsNumber(text, locale); }

}  // namespace entries
