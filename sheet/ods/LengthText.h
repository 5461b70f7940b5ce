#pragma once

#include <QStringView>

#include <optional>

namespace sheet::ods {

// A length as OpenDocument writes it ("0.06pt", "1.4819in", "2.258cm", "12mm", "1pc", "3px") in points;
// nothing for text that is no length.
std::optional<double> lengthPoints(QStringView text);

} // namespace sheet::ods
