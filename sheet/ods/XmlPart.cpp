#include "sheet/ods/XmlPart.h"

#include <utility>

namespace sheet::ods {
namespace {

struct Declaration {
    const char* attribute;
    const char* uri;
};

Declaration declaration(Namespace ns)
{
    switch (ns) {
    case Namespace::Office: return {"xmlns:office", "urn:oasis:names:tc:opendocument:xmlns:office:1.0"};
    case Namespace::Style: return {"xmlns:style", "urn:oasis:names:tc:opendocument:xmlns:style:1.0"};
    case Namespace::Text: return {"xmlns:text", "urn:oasis:names:tc:opendocument:xmlns:text:1.0"};
    case Namespace::Table: return {"xmlns:table", "urn:oasis:names:tc:opendocument:xmlns:table:1.0"};
    case Namespace::Draw: return {"xmlns:draw", "urn:oasis:names:tc:opendocument:xmlns:drawing:1.0"};
    case Namespace::Fo: return {"xmlns:fo", "urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"};
    case Namespace::XLink: return {"xmlns:xlink", "http://www.w3.org/1999/xlink"};
    case Namespace::Number: return {"xmlns:number", "urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0"};
    case Namespace::Svg: return {"xmlns:svg", "urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0"};
    case Namespace::Chart: return {"xmlns:chart", "urn:oasis:names:tc:opendocument:xmlns:chart:1.0"};
    case Namespace::Dr3d: return {"xmlns:dr3d", "urn:oasis:names:tc:opendocument:xmlns:dr3d:1.0"};
    case Namespace::Meta: return {"xmlns:meta", "urn:oasis:names:tc:opendocument:xmlns:meta:1.0"};
    case Namespace::Config: return {"xmlns:config", "urn:oasis:names:tc:opendocument:xmlns:config:1.0"};
    case Namespace::Manifest: return {"xmlns:manifest", "urn:oasis:names:tc:opendocument:xmlns:manifest:1.0"};
    case Namespace::LoExt: return {"xmlns:loext", "urn:org:documentfoundation:names:experimental:office:xmlns:loext:1.0"};
    case Namespace::CalcExt: return {"xmlns:calcext", "urn:org:documentfoundation:names:experimental:calc:xmlns:calcext:1.0"};
    case Namespace::Of: return {"xmlns:of", "urn:oasis:names:tc:opendocument:xmlns:of:1.2"};
    }
    return {"xmlns:office", "urn:oasis:names:tc:opendocument:xmlns:office:1.0"};
}

} // namespace

XmlPart::XmlPart(const char* root, std::initializer_list<Namespace> namespaces, const char* versionAttribute)
{
    sink_.open(QIODevice::WriteOnly);
    writer_.setDevice(&sink_);
    writer_.writeStartDocument();
    writer_.writeStartElement(root);
    for (Namespace ns : namespaces) {
        const Declaration d = declaration(ns);
        writer_.writeAttribute(d.attribute, d.uri);
    }
    writer_.writeAttribute(versionAttribute, "1.3");
}

std::string XmlPart::finish()
{
    writer_.writeEndDocument();
    sink_.bytes += '\n';
    return std::move(sink_.bytes);
}

void emptyElement(QXmlStreamWriter& xml, const char* name, std::initializer_list<std::pair<const char*, QAnyStringView>> attributes)
{
    xml.writeStartElement(name);
    for (const auto& [attribute, value] : attributes)
        xml.writeAttribute(QString::fromLatin1(attribute), value.toString());
    xml.writeEndElement();
}

void textElement(QXmlStreamWriter& xml, const char* name, QAnyStringView text)
{
    xml.writeTextElement(name, text.toString());
}

} // namespace sheet::ods
