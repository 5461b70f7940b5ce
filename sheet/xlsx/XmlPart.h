#pragma once

#include <QByteArray>
#include <QXmlStreamWriter>

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace sheet::xlsx {

// One XML part of a package, written element by element with Qt's stream writer and indented one space
// a level, so that a kept copy reads and compares line by line. Element names are qualified names with
// their prefix ("c:chart"); the root declares the namespaces. Texts may hold any character: those XML
// cannot carry are written in the package formats' own escape (_x0001_).
class XmlPart {
public:
    using Namespaces = std::initializer_list<std::pair<const char*, const char*>>; // prefix ("" default), URI

    XmlPart(const char* root, Namespaces namespaces);
    XmlPart(const XmlPart&) = delete;
    XmlPart& operator=(const XmlPart&) = delete;

    void start(const char* name) { writer_.writeStartElement(QLatin1String(name)); }
    void end() { writer_.writeEndElement(); }
    void empty(const char* name) { writer_.writeEmptyElement(QLatin1String(name)); }
    void attribute(const char* name, std::string_view value);
    void attribute(const char* name, const QString& value) { writer_.writeAttribute(QLatin1String(name), value); }
    void attribute(const char* name, const char* value) { attribute(name, std::string_view(value)); }
    void attribute(const char* name, long long value);
    void attribute(const char* name, int value) { attribute(name, static_cast<long long>(value)); }
    void attribute(const char* name, double value);
    // Text inside the current element.
    void characters(std::string_view text);
    // <name>text</name>
    void text(const char* name, std::string_view text);
    void text(const char* name, const QString& text);
    void text(const char* name, const char* text) { this->text(name, std::string_view(text)); }
    // <name val="value"/>, the form of most chart settings.
    template <typename Value>
    void value(const char* name, Value value)
    {
        empty(name);
        attribute("val", value);
    }

    // The part's bytes, in UTF-8; the part cannot be written to afterwards.
    std::string finish();

private:
    QByteArray bytes_;
    QXmlStreamWriter writer_;
};

// A number as its shortest decimal form that reads back to the same double ("25000", "0.1", "1e+21").
std::string numberText(double number);

} // namespace sheet::xlsx
