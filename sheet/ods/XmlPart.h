#pragma once

#include <QIODevice>
#include <QString>
#include <QXmlStreamWriter>

#include <initializer_list>
#include <string>

namespace sheet::ods {

// The namespaces of OpenDocument that the parts use, by prefix.
enum class Namespace { Office, Style, Text, Table, Draw, Fo, XLink, Number, Svg, Chart, Dr3d, Meta, Config, Manifest, LoExt, CalcExt, Of };

// One XML part of the package, written with Qt's stream writer straight into UTF-8 bytes: a part of
// many cells is held once, in its smallest form, and not again as UTF-16 text. The root element is
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
    // A device that keeps what the writer gives it in a string, which finish() hands over whole.
    class StringSink : public QIODevice {
    public:
        std::string bytes;

    protected:
        qint64 readData(char*, qint64) override { return -1; }
        qint64 writeData(const char* data, qint64 size) override
        {
            bytes.append(data, static_cast<std::size_t>(size));
            return size;
        }
    };

    StringSink sink_;
    QXmlStreamWriter writer_;
};

// An element with attributes only: start, attributes, end.
void emptyElement(QXmlStreamWriter& xml, const char* name, std::initializer_list<std::pair<const char*, QAnyStringView>> attributes);
// An element holding only text.
void textElement(QXmlStreamWriter& xml, const char* name, QAnyStringView text);

} // namespace sheet::ods
