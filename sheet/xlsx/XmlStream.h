#pragma once

#include "sheet/zip/ZipReader.h"

#include <QXmlStreamReader>

#include <functional>
#include <string>
#include <string_view>

namespace sheet::xlsx {

// The tokens of an XML part (start and end tags, text), handed over one by one while the part is read
// in pieces, so that a part of any size is never held whole. A part that declares a document type or
// entities is refused before anything of it is expanded, as is a part that is not well-formed; both as
// a FormatError naming the part. Elements are told by their local names, so the transitional and the
// strict namespaces read alike.
using XmlToken = std::function<void(const QXmlStreamReader&)>;

// Reads the part `name` of the package.
void readXmlPart(const zip::ZipReader& package, const std::string& name, const XmlToken& token);
// Reads a part held in memory; `name` names it in a refusal.
void readXmlBytes(std::string_view bytes, const std::string& name, const XmlToken& token);

// The value of an attribute by its local name; empty when the element has none.
QStringView attributeOf(const QXmlStreamReader& reader, QStringView localName);
std::string attributeText(const QXmlStreamReader& reader, QStringView localName);
// The relationship id of an element (r:id, in whichever namespace the package uses for it).
std::string relationshipId(const QXmlStreamReader& reader, QStringView localName = u"id");
// A whole number of an attribute, `fallback` when it has none or no number.
long long attributeNumber(const QXmlStreamReader& reader, QStringView localName, long long fallback);
// An attribute of type xsd:boolean ("1", "true"); `fallback` when absent.
bool attributeFlag(const QXmlStreamReader& reader, QStringView localName, bool fallback);

// A text with the package formats' escapes of characters (_x000D_) turned back into the characters.
QString unescapedText(const QString& text);

} // namespace sheet::xlsx
