#include "sheet/xlsx/CommentsReader.h"

#include "sheet/xlsx/CellReferences.h"
#include "sheet/xlsx/XmlStream.h"

namespace sheet::xlsx {

std::vector<model::Comment> readCommentsPart(const zip::ZipReader& package, const std::string& part)
{
    std::vector<model::Comment> comments;
    std::vector<std::string> authors;
    std::vector<long long> authorIds;
    QString text;
    bool inAuthor = false, inComment = false, inText = false, inPhonetic = false;
    readXmlPart(package, package.spelling(part), [&](const QXmlStreamReader& reader) {
        const QStringView name = reader.name();
        if (reader.isStartElement()) {
            text.clear();
            if (name == u"author") {
                inAuthor = true;
            } else if (name == u"comment") {
                const auto at = parsedCell(attributeOf(reader, u"ref"));
                inComment = at && at->row < 65536 && at->column < 256;
                if (inComment) {
                    model::Comment comment;
                    comment.row = at->row;
                    comment.column = at->column;
                    comments.push_back(comment);
                    authorIds.push_back(attributeNumber(reader, u"authorId", -1));
                }
            } else if (inComment && name == u"r") {
                comments.back().text.emplace_back();
            } else if (inComment && name == u"rPh") {
                inPhonetic = true;
            } else if (inComment && name == u"t" && !inPhonetic) {
                inText = true;
                if (comments.back().text.empty())
                    comments.back().text.emplace_back();
            }
        } else if (reader.isCharacters()) {
            if (inAuthor || inText)
                text += reader.text();
        } else if (reader.isEndElement()) {
            if (name == u"author" && inAuthor) {
                authors.push_back(text.toStdString());
                inAuthor = false;
            } else if (name == u"t" && inText) {
                comments.back().text.back().text += unescapedText(text).toStdString();
                inText = false;
            } else if (name == u"rPh") {
                inPhonetic = false;
            } else if (name == u"comment") {
                inComment = false;
            }
            text.clear();
        }
    });
    for (std::size_t k = 0; k < comments.size(); ++k)
        if (authorIds[k] >= 0 && static_cast<std::size_t>(authorIds[k]) < authors.size())
            comments[k].author = authors[static_cast<std::size_t>(authorIds[k])];
    return comments;
}

} // namespace sheet::xlsx
