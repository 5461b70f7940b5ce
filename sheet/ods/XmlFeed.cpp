#include "sheet/ods/XmlFeed.h"

#include "sheet/Errors.h"
#include "sheet/zip/ZipReader.h"

namespace sheet::ods {
namespace {

constexpr int MaxDepth = 512;
constexpr std::size_t PieceSize = 64 * 1024;

class Feed {
public:
    Feed(XmlHandler& handler, const std::string& what) : handler_(handler), what_(what)
    {
        xml_.setNamespaceProcessing(true);
    }

    void add(std::string_view piece)
    {
        xml_.addData(QByteArray(piece.data(), static_cast<qsizetype>(piece.size())));
        drain();
    }

    void finish()
    {
        if (!ended_)
            throw FormatError(what_ + " is cut short: the XML document does not end");
    }

private:
    void drain()
    {
        while (!ended_) {
            const QXmlStreamReader::TokenType token = xml_.readNext();
            switch (token) {
            case QXmlStreamReader::Invalid:
                if (xml_.error() == QXmlStreamReader::PrematureEndOfDocumentError)
                    return;
                throw FormatError(what_ + " is not well-formed XML: " + xml_.errorString().toStdString() + " (line "
                                  + std::to_string(xml_.lineNumber()) + ")");
            case QXmlStreamReader::DTD:
            case QXmlStreamReader::EntityReference:
                throw FormatError(what_ + " declares a document type with entities, which a package part must not");
            case QXmlStreamReader::StartElement:
                if (++depth_ > MaxDepth)
                    throw FormatError(what_ + " nests its elements deeper than " + std::to_string(MaxDepth) + " levels");
                handler_.start(xml_);
                break;
            case QXmlStreamReader::EndElement:
                --depth_;
                handler_.end(xml_);
                break;
            case QXmlStreamReader::Characters:
                handler_.text(xml_.text());
                break;
            case QXmlStreamReader::EndDocument:
                ended_ = true;
                break;
            default:
                break;
            }
        }
    }

    XmlHandler& handler_;
    const std::string& what_;
    QXmlStreamReader xml_;
    int depth_ = 0;
    bool ended_ = false;
};

} // namespace

void readXmlPart(const zip::ZipReader& package, std::string_view name, XmlHandler& handler, const std::string& what)
{
    Feed feed(handler, what);
    package.stream(name, [&feed](std::string_view piece) { feed.add(piece); });
    feed.finish();
}

void readXmlBytes(std::string_view bytes, XmlHandler& handler, const std::string& what)
{
    Feed feed(handler, what);
    for (std::size_t at = 0; at < bytes.size(); at += PieceSize)
        feed.add(bytes.substr(at, PieceSize));
    feed.finish();
}

} // namespace sheet::ods
