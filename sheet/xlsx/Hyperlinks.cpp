#include "sheet/xlsx/Hyperlinks.h"

#include "sheet/model/A1Notation.h"

namespace sheet::xlsx {

void writeHyperlinks(XmlPart& xml, const SheetHyperlinks& hyperlinks)
{
    if (hyperlinks.links.empty())
        return;
    xml.start("hyperlinks");
    for (std::size_t k = 0; k < hyperlinks.links.size(); ++k) {
        const biff::Hyperlink& link = hyperlinks.links[k];
        xml.empty("hyperlink");
        xml.attribute("ref", model::rangeAddress(link.range));
        if (!hyperlinks.relationships[k].empty())
            xml.attribute("r:id", hyperlinks.relationships[k]);
        if (!link.location.empty())
            xml.attribute("location", link.location);
        if (!link.tooltip.empty())
            xml.attribute("tooltip", link.tooltip);
        if (!link.display.empty())
            xml.attribute("display", link.display);
    }
    xml.end();
}

} // namespace sheet::xlsx
