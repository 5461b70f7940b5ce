#pragma once

#include <QString>
#include <QVariant>
#include <vector>

namespace testing_support {

// One cell as xlrd reads it: its kind, its value and the code of its number format.
struct ReadCell {
    enum Kind { Empty = 0, Text = 1, Number = 2, Blank = 6 };
    int kind = Empty;
    QVariant value;
    QString format;
};

struct ReadSheet {
    QString name;
    std::vector<std::vector<ReadCell>> rows;  // from row 1, columns A and B

    ReadCell cell(int row, int column) const;  // 1-based; Empty beyond what was read
};

// Reads the first sheet of a workbook file with an independent reader (Python's xlrd).
// Fails the running test when xlrd cannot read it.
ReadSheet readWithXlrd(const QString& path);

}  // namespace testing_support
