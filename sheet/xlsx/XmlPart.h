#pragma once

#include <QByteArray>
#include <QString>
#include <QXmlStreamWriter>

#include <initializer_list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace sheet::xlsx {

// A number as its shortest decimal form that reads back to the same double ("25000", "0.1", "1e+21").
std::string numberText(double number);

// One XML part of a package, written element by element with Qt's stream writer, in UTF-8 and without
// indentation, as spreadsheet programs write them. Element names are qualified names with their prefix
// ("c:chart"); the root declares the namespaces. Texts may hold any character: those XML
// cannot carry, and the carriage return, are written in the package formats' own escape (_x0001_, _x000D_).
class XmlPart {
public:
    using Namespaces = std::initializer_list<std::pair<const char*, const char*>>; // prefix ("" default), URI

    XmlPart(const char* root, Namespaces namespaces);
    XmlPart(const XmlPart&) = delete;
    XmlPart& operator=(const XmlPart&) = delete;

    void start(const char* name) { writer_.writeStartElement(qualified(name)); }
    void end() { writer_.writeEndElement(); }
    void empty(const char* name) { writer_.writeEmptyElement(qualified(name)); }
    void attribute(const char* name, std::string_view value) { writer_.writeAttribute(qualified(name), escaped(value)); }
    void attribute(const char* name, const QString& value) { writer_.writeAttribute(qualified(name), value); }
    void attribute(const char* name, const char* value) { attribute(name, std::string_view(value)); }
    void attribute(const char* name, long long value);
    void attribute(const char* name, int value) { attribute(name, static_cast<long long>(value)); }
    void attribute(const char* name, double value) { attribute(name, std::string_view(numberText(value))); }
    // Text inside the current element.
    void characters(std::string_view text) { writer_.writeCharacters(escaped(text)); }
    // <name>text</name>
    void text(const char* name, std::string_view text) { writer_.writeTextElement(qualified(name), escaped(text)); }
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
    // A name as the writer takes it, made once for each of the literals a part uses.
    const QString& qualified(const char* name);
    // A text as the writer takes it, in a string kept for the purpose: a part of many cells writes
    // hundreds of thousands of short texts.
    const QString& escaped(std::string_view utf8);

    QByteArray bytes_; // the part in UTF-8, as the writer encodes it
    QXmlStreamWriter writer_;
    std::unordered_map<const char*, QString> names_;
    QString scratch_;
};

} // namespace sheet::xlsx
