#pragma once

#include "sheet/model/Workbook.h"
#include "sheet/xlsx/PaletteColours.h"
#include "sheet/zip/ZipReader.h"

#include <string>

namespace sheet::xlsx {

// The shared strings part read into the workbook's string table. A text in runs keeps its runs as
// the workbook keeps them, each run's font added to the workbook's fonts when it is not there yet;
// phonetic guides are left out of the text.
void readSharedStrings(const zip::ZipReader& package, const std::string& part, PaletteColours& colours,
                       model::Workbook& workbook);

// Collects a text in runs (an <si> or an <is> element), token by token.
class RichTextCollector {
public:
    // Whether the token belonged to the text; call for each token inside the element.
    void token(const QXmlStreamReader& reader);
    // The text, its runs with fonts (nothing for a plain text), and forgets them.
    QString text() const { return text_; }
    std::vector<std::pair<int, model::Font>> runFonts(PaletteColours& colours, const model::Font& base) const;
    void clear();

private:
    struct Run {
        int start = 0;
        model::Font font;
        ColourSpec colour;
        bool hasFont = false;
    };
    QString text_;
    std::vector<Run> runs_;
    bool inText_ = false;
    bool inPhonetic_ = false;
    bool inRunProperties_ = false;
};

} // namespace sheet::xlsx
