#pragma once

#include <QString>
#include <QXmlStreamWriter>

#include <initializer_list>
#include <string>

namespace sheet::ods {

// The namespaces of OpenDocument that the parts use, by prefix.
enum class Namespace { Office, Style, Text, Table, Draw, Fo, XLink, Number, Svg, Chart, Dr3d, Meta, Config, Manifest, LoExt, CalcExt, Of };

// One XML part of the package, written with Qt's stream writer into a string (much faster than
// through a device, which encodes every piece on its own) and given as UTF-8 at the end. The root element is
// opened with the namespaces it declares and the version 1.3 in `versionAttribute`; finish() closes
// everything and gives the UTF-8 bytes.
class XmlPart {
public:
    XmlPart(const char* root, std::initializer_list<Namespace> namespaces, const char* versionAttribute = "office:version");
    XmlPart(const XmlPart&) = delete;
    XmlPart& operator=(const XmlPart&) = delete;

    QXmlStreamWriter& xml() { return writer_; }
    std::string finish();

private:
    QString text_;
    QXmlStreamWriter writer_;
};

// An element with attributes only: start, attributes, end.
void emptyElement(QXmlStreamWriter& xml, const char* name, std::initializer_list<std::pair<const char*, QAnyStringView>> attributes);
// An element holding only text.
void textElement(QXmlStreamWriter& xml, const char* name, QAnyStringView text);

} // namespace sheet::ods
