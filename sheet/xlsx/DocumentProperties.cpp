#include "sheet/xlsx/DocumentProperties.h"

#include "sheet/xlsx/XmlPart.h"

namespace sheet::xlsx {

std::string corePropertiesPart()
{
    XmlPart xml("cp:coreProperties",
                {{"cp", "http://schemas.openxmlformats.org/package/2006/metadata/core-properties"},
                 {"dc", "http://purl.org/dc/elements/1.1/"},
                 {"dcterms", "http://purl.org/dc/terms/"},
                 {"dcmitype", "http://purl.org/dc/dcmitype/"},
                 {"xsi", "http://www.w3.org/2001/XMLSchema-instance"}});
    return xml.finish();
}

std::string extendedPropertiesPart()
{
    XmlPart xml("Properties", {{"", "http://schemas.openxmlformats.org/officeDocument/2006/extended-properties"},
                               {"vt", "http://schemas.openxmlformats.org/officeDocument/2006/docPropsVTypes"}});
    xml.text("Application", "Tortelet Studio");
    return xml.finish();
}

} // namespace sheet::xlsx
