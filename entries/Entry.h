#pragma once

#include <QString>

namespace entries {

// One row of the list: the asset type and the amount, both kept exactly as typed.
struct Entry {
    QString label;
    QString amount;
    friend bool operator==(const Entry&, const Entry&) = default;
};

}  // namespace entries
