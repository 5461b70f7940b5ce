#pragma once

#include "sheet/model/Workbook.h"

#include <QString>
#include <QXmlStreamWriter>

#include <set>
#include <string>
#include <vector>

namespace sheet::ods {

// The workbook's cell formats (XF records) as OpenDocument cell styles: every cell format becomes the
// automatic style "ce" + its index, with its number format as a data style ("N" + the format's index),
// its font, fill, borders and alignment; the Normal style becomes the common style "Default".
class CellStyles {
public:
    explicit CellStyles(const model::Workbook& workbook);

    // The style of a cell format; "Default" for one that does not exist.
    const QString& name(int xf) const;

    void writeFontFaces(QXmlStreamWriter& xml) const;
    // The data styles, for the styles part's common styles: a program that prunes the content's
    // automatic styles (odfpy) would lose the sections that conditions choose.
    void writeDataStyles(QXmlStreamWriter& xml) const;
    // The cell styles, for the content's automatic styles.
    void writeAutomaticStyles(QXmlStreamWriter& xml) const;
    // The style "Default", for the styles part.
    void writeDefaultStyle(QXmlStreamWriter& xml) const;

private:
    bool isCellFormat(int xf) const;
    void writeProperties(QXmlStreamWriter& xml, const model::Xf& xf) const;

    const model::Workbook& workbook_;
    std::set<int> formats_;     // the number formats the cell formats use, General left out
    std::set<std::string> fonts_;
    std::vector<QString> names_;  // by cell format
    QString defaultName_ = QStringLiteral("Default");
};

// A font's name, size, weight, slant, underline and strike-out as text properties; its colour is left
// to the caller.
void writeFontLook(QXmlStreamWriter& xml, const model::Font& font);

} // namespace sheet::ods
