#include "sheet/xlsx/SharedStringsReader.h"

#include "sheet/Errors.h"
#include "sheet/xlsx/StylesReader.h"
#include "sheet/xlsx/XmlStream.h"

#include <algorithm>
#include <cmath>

namespace sheet::xlsx {
namespace {

constexpr std::size_t MaxStrings = 1u << 26;

bool sameFont(const model::Font& a, const model::Font& b)
{
    return a.name == b.name && a.height == b.height && a.weight == b.weight && a.italic == b.italic &&
           a.strikeout == b.strikeout && a.underline == b.underline && a.colorIndex == b.colorIndex;
}

// The XF font index of a font, added to the workbook's fonts when it has none like it.
int fontIndex(model::Workbook& workbook, const model::Font& font)
{
    for (std::size_t k = 0; k < workbook.fonts.size(); ++k)
        if (sameFont(workbook.fonts[k], font))
            return xfFontIndex(static_cast<int>(k));
    workbook.fonts.push_back(font);
    return xfFontIndex(static_cast<int>(workbook.fonts.size() - 1));
}

} // namespace

void RichTextCollector::token(const QXmlStreamReader& reader)
{
    const QStringView name = reader.name();
    if (reader.isStartElement()) {
        if (name == u"rPh") {
            inPhonetic_ = true;
        } else if (name == u"t" && !inPhonetic_) {
            inText_ = true;
        } else if (name == u"r") {
            Run run;
            run.start = static_cast<int>(text_.size());
            run.font = model::Font{"Calibri", 220};
            runs_.push_back(run);
        } else if (name == u"rPr" && !runs_.empty()) {
            inRunProperties_ = true;
            runs_.back().hasFont = true;
        } else if (inRunProperties_) {
            model::Font& font = runs_.back().font;
            const QStringView value = attributeOf(reader, u"val");
            if (name == u"b")
                font.weight = attributeFlag(reader, u"val", true) ? 700 : 400;
            else if (name == u"i")
                font.italic = attributeFlag(reader, u"val", true);
            else if (name == u"strike")
                font.strikeout = attributeFlag(reader, u"val", true);
            else if (name == u"u")
                font.underline = value.isEmpty() || value == u"single" ? 1 : value == u"double" ? 2 : 0;
            else if (name == u"sz") {
                bool ok = false;
                const double points = value.toDouble(&ok);
                if (ok && points > 0 && points < 410)
                    font.height = static_cast<int>(std::lround(points * 20));
            } else if (name == u"rFont")
                font.name = value.toString().toStdString();
            else if (name == u"color")
                runs_.back().colour = colourSpec(reader);
        }
    } else if (reader.isEndElement()) {
        if (name == u"rPh")
            inPhonetic_ = false;
        else if (name == u"t")
            inText_ = false;
        else if (name == u"rPr")
            inRunProperties_ = false;
    } else if (reader.isCharacters() && inText_) {
        text_ += unescapedText(reader.text().toString());
        if (text_.size() > 32767 * 4)
            throw FormatError("a text of the package is longer than a cell can hold");
    }
}

std::vector<std::pair<int, model::Font>> RichTextCollector::runFonts(PaletteColours& colours, const model::Font& base) const
{
    std::vector<std::pair<int, model::Font>> fonts;
    if (!std::any_of(runs_.begin(), runs_.end(), [](const Run& run) { return run.hasFont; }))
        return fonts;
    for (const Run& run : runs_) {
        model::Font font = run.hasFont ? run.font : base;
        if (run.hasFont)
            font.colorIndex = colours.index(run.colour, 0x7FFF);
        if (run.start < text_.size())
            fonts.emplace_back(run.start, font);
    }
    return fonts;
}

void RichTextCollector::clear()
{
    text_.clear();
    runs_.clear();
    inText_ = inPhonetic_ = inRunProperties_ = false;
}

void readSharedStrings(const zip::ZipReader& package, const std::string& part, PaletteColours& colours,
                       model::Workbook& workbook)
{
    if (part.empty() || !package.contains(part))
        return;
    RichTextCollector collector;
    bool inItem = false;
    const model::Font base = workbook.fonts.empty() ? model::Font{} : workbook.fonts.front();
    readXmlPart(package, package.spelling(part), [&](const QXmlStreamReader& reader) {
        if (reader.name() == u"si") {
            if (reader.isStartElement()) {
                inItem = true;
                collector.clear();
                return;
            }
            if (!reader.isEndElement())
                return;
            inItem = false;
            if (workbook.sharedStrings.size() >= MaxStrings)
                throw FormatError("the part " + part + " holds more texts than a workbook can have");
            model::SharedString entry;
            const QString text = collector.text();
            entry.text.assign(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size()));
            for (const auto& [start, font] : collector.runFonts(colours, base)) {
                const int index = fontIndex(workbook, font);
                for (int value : {start, index}) {
                    entry.runs.push_back(static_cast<std::uint8_t>(value));
                    entry.runs.push_back(static_cast<std::uint8_t>(value >> 8));
                }
            }
            workbook.sharedStrings.push_back(std::move(entry));
            return;
        }
        if (inItem)
            collector.token(reader);
    });
}

} // namespace sheet::xlsx
