#include "sheet/render/VisibleText.h"

#include <QString>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <optional>
#include <vector>

namespace sheet::render {

namespace {

// Shorter pieces are measured whole, as drawing them does anyway.
constexpr qsizetype shortPiece = 16;
// The longest cluster of characters a cut looks across for its end.
constexpr qsizetype longestCluster = 32;

QString qt(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

bool readsRightToLeft(const QString& text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) {
        switch (c.direction()) {
        case QChar::DirR: case QChar::DirAL: case QChar::DirAN: case QChar::DirRLE: case QChar::DirRLO:
        case QChar::DirRLI: case QChar::DirFSI: return true;
        default: return false;
        }
    });
}

// The first (or last) characters of a piece, as many as reach past `room` pixels, or nothing
// when the whole piece fits in it.
std::optional<QString> cutPiece(const QString& text, const QFontMetricsF& metrics, double room, FixedEnd fixed)
{
    auto part = [&](qsizetype count) { return fixed == FixedEnd::Start ? text.left(count) : text.right(count); };
    qsizetype count = shortPiece;
    while (count < text.size() && metrics.horizontalAdvance(part(count)) <= room)
        count *= 2;
    if (count >= text.size())
        return std::nullopt;
    // Never a character or a cluster cut in two: the cut moves on to the next boundary.
    const qsizetype span = std::min(text.size(), count + longestCluster);
    QTextBoundaryFinder clusters(QTextBoundaryFinder::Grapheme, part(span));
    clusters.setPosition(fixed == FixedEnd::Start ? count : span - count);
    if (!clusters.isAtBoundary()) {
        const qsizetype boundary = fixed == FixedEnd::Start ? clusters.toNextBoundary() : clusters.toPreviousBoundary();
        count = boundary < 0 ? span : fixed == FixedEnd::Start ? boundary : span - boundary;
    }
    return count >= text.size() ? std::nullopt : std::optional<QString>(part(count));
}

}  // namespace

void cutToReach(format::FormattedText& text, const QFontMetricsF& metrics, double reach, FixedEnd fixed)
{
    using format::Piece;
    // Most cells hold a few words: nothing of theirs is worth cutting.
    std::size_t bytes = 0;
    for (const Piece& piece : text.pieces)
        bytes += piece.text.size();
    if (bytes <= static_cast<std::size_t>(shortPiece) || text.hasFill())
        return;
    std::vector<QString> pieces;
    pieces.reserve(text.pieces.size());
    for (const Piece& piece : text.pieces) {
        pieces.push_back(qt(piece.text));
        if (readsRightToLeft(pieces.back()))
            return;
    }
    // Glyphs are shaped with their neighbours, and italics lean out of their advance: the cut
    // leaves some characters beyond the reach.
    double room = reach + 2 * metrics.height();
    std::vector<Piece> kept;
    bool shortened = false;
    const std::size_t count = pieces.size();
    for (std::size_t k = 0; k < count && !shortened; ++k) {
        const std::size_t at = fixed == FixedEnd::Start ? k : count - 1 - k;
        const Piece& piece = text.pieces[at];
        std::optional<QString> cut;
        if (room < 0)
            cut = QString();
        else if (piece.kind == Piece::Kind::Text && pieces[at].size() > shortPiece)
            cut = cutPiece(pieces[at], metrics, room, fixed);
        shortened = cut.has_value();
        if (!shortened) {
            kept.push_back(piece);
            room -= metrics.horizontalAdvance(pieces[at]);
        } else if (!cut->isEmpty()) {
            kept.push_back(Piece{piece.kind, cut->toStdString()});
        }
    }
    if (!shortened)
        return;
    if (fixed == FixedEnd::End)
        std::reverse(kept.begin(), kept.end());
    text.pieces = std::move(kept);
}

QString cutLongWords(const QString& text, qsizetype longest)
{
    if (text.size() <= longest)
        return text;
    // Some characters beyond, for clusters and for glyphs shaped with their neighbours.
    const qsizetype kept = std::max<qsizetype>(longest, 0) + longestCluster;
    QString cut;
    QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, text);
    qsizetype start = 0;
    for (qsizetype end = breaks.toNextBoundary(); end > 0; start = end, end = breaks.toNextBoundary()) {
        // The blanks or the line break that end the word stay, and so does the break after it.
        qsizetype wordEnd = end;
        while (wordEnd > start && text[wordEnd - 1].isSpace())
            --wordEnd;
        qsizetype length = wordEnd - start;
        if (length > kept) {
            length = kept;
            if (text[start + length - 1].isHighSurrogate())
                --length;
        }
        cut += QStringView(text).mid(start, length);
        cut += QStringView(text).mid(wordEnd, end - wordEnd);
    }
    return cut;
}

}  // namespace sheet::render
