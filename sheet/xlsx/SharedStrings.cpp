#include "sheet/xlsx/SharedStrings.h"

#include "sheet/xlsx/RichText.h"
#include "sheet/xlsx/XmlPart.h"

#include <cctype>

namespace sheet::xlsx {

std::size_t SharedStrings::index(const std::string& text)
{
    ++uses_;
    const auto [entry, added] = indices_.try_emplace(text, texts_.size());
    if (added)
        texts_.push_back({&entry->first, 0});
    return entry->second;
}

std::size_t SharedStrings::richIndex(std::uint32_t entry)
{
    ++uses_;
    const auto [found, added] = richIndices_.try_emplace(entry, texts_.size());
    if (added)
        texts_.push_back({nullptr, entry});
    return found->second;
}

std::string SharedStrings::part() const
{
    XmlPart xml("sst", {{"", "http://schemas.openxmlformats.org/spreadsheetml/2006/main"}});
    xml.attribute("count", static_cast<long long>(uses_));
    xml.attribute("uniqueCount", static_cast<long long>(texts_.size()));
    for (const Entry& entry : texts_) {
        xml.start("si");
        if (!entry.text) {
            writeRichText(xml, workbook_, workbook_.sharedStrings[entry.rich]);
            xml.end();
            continue;
        }
        const std::string* text = entry.text;
        const bool padded = !text->empty() && (std::isspace(static_cast<unsigned char>(text->front())) ||
                                              std::isspace(static_cast<unsigned char>(text->back())));
        xml.start("t");
        if (padded)
            xml.attribute("xml:space", "preserve");
        xml.characters(*text);
        xml.end();
        xml.end();
    }
    return xml.finish();
}

} // namespace sheet::xlsx
