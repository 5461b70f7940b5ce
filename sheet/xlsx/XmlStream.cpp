#include "sheet/xlsx/XmlStream.h"

#include "sheet/Errors.h"

#include <QByteArray>

namespace sheet::xlsx {
namespace {

class TokenFeed {
public:
    TokenFeed(const std::string& name, const XmlToken& token) : name_(name), token_(token)
    {
        reader_.setNamespaceProcessing(true);
    }

    void add(std::string_view piece)
    {
        reader_.addData(QByteArray(piece.data(), static_cast<qsizetype>(piece.size())));
        drain();
    }

    void finish()
    {
        if (!ended_)
            throw FormatError("the part " + name_ + " ends before its XML is complete");
    }

private:
    void drain()
    {
        while (!ended_) {
            const QXmlStreamReader::TokenType type = reader_.readNext();
            switch (type) {
            case QXmlStreamReader::Invalid:
                if (reader_.error() == QXmlStreamReader::PrematureEndOfDocumentError)
                    return;
                throw FormatError("the part " + name_ + " is not well-formed XML (" + reader_.errorString().toStdString() +
                                  " at line " + std::to_string(reader_.lineNumber()) + ")");
            case QXmlStreamReader::DTD:
            case QXmlStreamReader::EntityReference:
                throw FormatError("the part " + name_ +
                                  " declares a document type or entities, which a package must not; it is refused");
            case QXmlStreamReader::EndDocument:
                ended_ = true;
                return;
            case QXmlStreamReader::StartElement:
            case QXmlStreamReader::EndElement:
            case QXmlStreamReader::Characters:
                token_(reader_);
                break;
            default:
                break;
            }
        }
    }

    const std::string& name_;
    const XmlToken& token_;
    QXmlStreamReader reader_;
    bool ended_ = false;
};

} // namespace

void readXmlPart(const zip::ZipReader& package, const std::string& name, const XmlToken& token)
{
    TokenFeed feed(name, token);
    package.stream(name, [&feed](std::string_view piece) { feed.add(piece); });
    feed.finish();
}

void readXmlBytes(std::string_view bytes, const std::string& name, const XmlToken& token)
{
    TokenFeed feed(name, token);
    constexpr std::size_t Piece = 64 * 1024;
    for (std::size_t at = 0; at < bytes.size(); at += Piece)
        feed.add(bytes.substr(at, Piece));
    feed.finish();
}

QStringView attributeOf(const QXmlStreamReader& reader, QStringView localName)
{
    for (const QXmlStreamAttribute& attribute : reader.attributes())
        if (attribute.name() == localName && attribute.namespaceUri().isEmpty())
            return attribute.value();
    return {};
}

std::string attributeText(const QXmlStreamReader& reader, QStringView localName)
{
    return attributeOf(reader, localName).toString().toStdString();
}

std::string relationshipId(const QXmlStreamReader& reader, QStringView localName)
{
    for (const QXmlStreamAttribute& attribute : reader.attributes())
        if (attribute.name() == localName && attribute.namespaceUri().endsWith(u"relationships"))
            return attribute.value().toString().toStdString();
    return {};
}

long long attributeNumber(const QXmlStreamReader& reader, QStringView localName, long long fallback)
{
    const QStringView text = attributeOf(reader, localName);
    if (text.isEmpty())
        return fallback;
    bool ok = false;
    const long long number = text.toLongLong(&ok);
    if (ok)
        return number;
    const double real = text.toDouble(&ok);
    return ok && real > -9e18 && real < 9e18 ? static_cast<long long>(real) : fallback;
}

bool attributeFlag(const QXmlStreamReader& reader, QStringView localName, bool fallback)
{
    const QStringView text = attributeOf(reader, localName);
    if (text.isEmpty())
        return fallback;
    return text == u"1" || text == u"true" || text == u"on";
}

QString unescapedText(const QString& text)
{
    if (!text.contains(u"_x"))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype k = 0; k < text.size(); ++k) {
        if (text[k] == u'_' && k + 6 < text.size() && text[k + 1] == u'x' && text[k + 6] == u'_') {
            bool ok = false;
            const unsigned code = QStringView(text).mid(k + 2, 4).toUInt(&ok, 16);
            if (ok) {
                out += QChar(static_cast<char16_t>(code));
                k += 6;
                continue;
            }
        }
        out += text[k];
    }
    return out;
}

} // namespace sheet::xlsx
