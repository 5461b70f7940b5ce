#pragma once

#include <QString>
#include <QStringView>
#include <QXmlStreamReader>

#include <string>
#include <string_view>

namespace sheet::zip {
class ZipReader;
}

namespace sheet::ods {

// The namespaces that the readers look for, by their URIs.
namespace ns {
inline constexpr QStringView Office = u"urn:oasis:names:tc:opendocument:xmlns:office:1.0";
inline constexpr QStringView Style = u"urn:oasis:names:tc:opendocument:xmlns:style:1.0";
inline constexpr QStringView Text = u"urn:oasis:names:tc:opendocument:xmlns:text:1.0";
inline constexpr QStringView Table = u"urn:oasis:names:tc:opendocument:xmlns:table:1.0";
inline constexpr QStringView Draw = u"urn:oasis:names:tc:opendocument:xmlns:drawing:1.0";
inline constexpr QStringView Fo = u"urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0";
inline constexpr QStringView XLink = u"http://www.w3.org/1999/xlink";
inline constexpr QStringView Number = u"urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0";
inline constexpr QStringView Svg = u"urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0";
inline constexpr QStringView Chart = u"urn:oasis:names:tc:opendocument:xmlns:chart:1.0";
inline constexpr QStringView Dr3d = u"urn:oasis:names:tc:opendocument:xmlns:dr3d:1.0";
inline constexpr QStringView Config = u"urn:oasis:names:tc:opendocument:xmlns:config:1.0";
inline constexpr QStringView Manifest = u"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0";
inline constexpr QStringView Dc = u"http://purl.org/dc/elements/1.1/";
} // namespace ns

// What a reader of an XML part does with its elements and text, one token at a time, as the bytes
// come: no part is ever held as a tree.
class XmlHandler {
public:
    virtual ~XmlHandler() = default;
    virtual void start(const QXmlStreamReader& xml) = 0;
    virtual void end(const QXmlStreamReader& xml) = 0;
    virtual void text(QStringView) {}
};

// Whether the current element is `name` of the namespace `uri`.
inline bool isElement(const QXmlStreamReader& xml, QStringView uri, QStringView name)
{
    return xml.name() == name && xml.namespaceUri() == uri;
}

// An attribute of the current element, empty when it has none.
inline QStringView attribute(const QXmlStreamReader& xml, QStringView uri, QStringView name)
{
    for (const QXmlStreamAttribute& a : xml.attributes())
        if (a.name() == name && a.namespaceUri() == uri)
            return a.value();
    return {};
}

// Reads the part `name` of the package through `handler`, piece by piece as the archive unpacks it. A
// document that is not well-formed, declares a document type (and so entities), or nests deeper than
// any spreadsheet does, is a FormatError naming `what`.
void readXmlPart(const zip::ZipReader& package, std::string_view name, XmlHandler& handler, const std::string& what);

// The same for a document held whole, such as a flat .fods.
void readXmlBytes(std::string_view bytes, XmlHandler& handler, const std::string& what);

} // namespace sheet::ods
