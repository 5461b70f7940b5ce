#include "sheet/xlsx/ChangedChart.h"

#include "sheet/layout/CellText.h"
#include "sheet/xlsx/CellReferences.h"
#include "sheet/xlsx/XmlPart.h"
#include "sheet/xlsx/XmlTags.h"

#include <QString>

#include <array>
#include <cmath>
#include <cstdio>
#include <variant>

namespace sheet::xlsx {
namespace {

// Distinct colours for new slices, the twelve that LibreOffice gives a chart's points.
constexpr std::array<model::Rgb, 12> SliceSequence = {0x004586, 0xFF420E, 0xFFD320, 0x579D1C, 0x7E0021, 0x83CAFF,
                                                      0x314004, 0xAECF00, 0x4B1F6F, 0xFF950E, 0xC5000B, 0x0084D1};
constexpr const char* DrawingNamespace = "http://schemas.openxmlformats.org/drawingml/2006/main";

enum class Data { None, Name, Categories, Values, Sizes };

Data dataOf(std::string_view localName)
{
    if (localName == "tx") return Data::Name;
    if (localName == "cat" || localName == "xVal") return Data::Categories;
    if (localName == "val" || localName == "yVal") return Data::Values;
    if (localName == "bubbleSize") return Data::Sizes;
    return Data::None;
}

const std::optional<model::RangeReference>& referenceOf(const model::ChartSeries& series, Data data)
{
    static const std::optional<model::RangeReference> none;
    switch (data) {
    case Data::Name: return series.name;
    case Data::Categories: return series.categories;
    case Data::Values: return series.values;
    case Data::Sizes: return series.sizes;
    case Data::None: break;
    }
    return none;
}

bool sameReference(const std::optional<model::RangeReference>& a, const std::optional<model::RangeReference>& b)
{
    if (a.has_value() != b.has_value())
        return false;
    return !a || (a->sheet == b->sheet && a->range == b->range);
}

std::string rgbText(model::Rgb colour)
{
    std::array<char, 7> digits{};
    std::snprintf(digits.data(), digits.size(), "%06X", static_cast<unsigned>(colour & 0xFFFFFF));
    return digits.data();
}

class ChartRewriter {
public:
    ChartRewriter(std::string_view part, const model::Workbook& source, const model::Chart& before,
                  const model::Workbook& workbook, const model::Chart& after)
        : part_(part), source_(source), before_(before), workbook_(workbook), after_(after), cellText_(workbook)
    {
    }

    std::string rewrite()
    {
        drawingPrefix_ = declaredPrefix(DrawingNamespace);
        XmlTagScanner scanner(part_);
        std::size_t copied = 0;
        int seriesIndex = -1;
        int depth = 0, seriesDepth = -1;
        Data data = Data::None;
        int dataDepth = -1;
        bool pointsAdded = false;
        bool cacheSeen = true;
        std::string seriesPrefix;
        std::string_view lastPoint;
        const auto flush = [&](std::size_t upTo) {
            out_.append(part_.substr(copied, upTo - copied));
            copied = upTo;
        };
        while (const std::optional<XmlTag> tag = scanner.next()) {
            const std::string_view local = tag->localName();
            if (tag->kind == XmlTag::Kind::End) {
                if ((local == "numRef" || local == "strRef") && !cacheSeen && data != Data::None && seriesIndex >= 0 &&
                    changed(static_cast<std::size_t>(seriesIndex), data)) {
                    flush(tag->begin);
                    const model::RangeReference& reference = *referenceOf(after_.series[static_cast<std::size_t>(seriesIndex)], data);
                    XmlTag cache = *tag;
                    cache.name = local == "numRef" ? "numCache" : "strCache";
                    writeCache({}, cache, reference, local == "numRef", std::string(tag->prefix()));
                    cacheSeen = true;
                }
                --depth;
                if (depth == dataDepth - 1) {
                    data = Data::None;
                    dataDepth = -1;
                }
                if (local == "ser" && depth == seriesDepth - 1) {
                    if (!pointsAdded) {
                        flush(tag->begin);
                        addPoints(static_cast<std::size_t>(seriesIndex), seriesPrefix, lastPoint);
                    }
                    seriesDepth = -1;
                }
                continue;
            }
            const bool opens = tag->kind == XmlTag::Kind::Start;
            if (local == "ser" && seriesDepth < 0) {
                ++seriesIndex;
                seriesDepth = depth + 1;
                seriesPrefix = std::string(tag->prefix());
                pointsAdded = false;
                lastPoint = {};
            } else if (seriesDepth >= 0 && depth == seriesDepth) {
                if (local == "dPt") {
                    const std::size_t end = scanner.elementEnd(*tag);
                    lastPoint = part_.substr(tag->begin, end - tag->begin);
                    continue;
                }
                if (!pointsAdded && isAfterPoints(local)) {
                    flush(tag->begin);
                    addPoints(static_cast<std::size_t>(seriesIndex), seriesPrefix, lastPoint);
                    pointsAdded = true;
                }
                if (dataOf(local) != Data::None) {
                    data = dataOf(local);
                    dataDepth = depth + 1;
                }
            } else if (data != Data::None && seriesIndex >= 0 && changed(static_cast<std::size_t>(seriesIndex), data)) {
                const model::RangeReference& reference = *referenceOf(after_.series[static_cast<std::size_t>(seriesIndex)], data);
                if ((local == "numRef" || local == "strRef") && opens) {
                    cacheSeen = false;
                } else if ((local == "numCache" || local == "strCache") && opens) {
                    cacheSeen = true;
                }
                if (local == "f" && opens && moved(static_cast<std::size_t>(seriesIndex), data)) {
                    const std::size_t end = scanner.elementEnd(*tag);
                    const std::size_t close = part_.rfind('<', end - 1);
                    const std::string_view formula = part_.substr(tag->end, close - tag->end);
                    const std::size_t bang = formula.rfind('!');
                    flush(tag->end);
                    out_.append(bang == std::string_view::npos ? std::string_view() : formula.substr(0, bang + 1));
                    out_ += absoluteRange(reference.range);
                    copied = close;
                    continue;
                }
                if ((local == "strCache" || local == "numCache") && opens) {
                    const std::size_t end = scanner.elementEnd(*tag);
                    flush(tag->begin);
                    writeCache(part_.substr(tag->begin, end - tag->begin), *tag, reference, local == "numCache",
                               std::string(tag->prefix()));
                    copied = end;
                    continue;
                }
            }
            if (opens)
                ++depth;
        }
        flush(part_.size());
        return std::move(out_);
    }

    bool anyChange() const
    {
        for (std::size_t s = 0; s < after_.series.size() && s < before_.series.size(); ++s)
            for (Data data : {Data::Name, Data::Categories, Data::Values, Data::Sizes})
                if (changed(s, data))
                    return true;
        return false;
    }

private:
    static bool isAfterPoints(std::string_view local)
    {
        for (const char* name : {"dLbls", "trendline", "errBars", "cat", "val", "xVal", "yVal", "bubbleSize", "smooth",
                                 "shape", "bubble3D", "extLst"})
            if (local == name)
                return true;
        return false;
    }

    // Whether the series' reference moved.
    bool moved(std::size_t series, Data data) const
    {
        if (series >= after_.series.size() || series >= before_.series.size())
            return false;
        const auto& now = referenceOf(after_.series[series], data);
        return now && !sameReference(referenceOf(before_.series[series], data), now);
    }

    // Whether the series' reference moved or a cell it covers changed, so that its cache must be written.
    bool changed(std::size_t series, Data data) const
    {
        if (moved(series, data))
            return true;
        if (series >= after_.series.size())
            return false;
        const auto& now = referenceOf(after_.series[series], data);
        if (!now || now->sheet < 0 || static_cast<std::size_t>(now->sheet) >= workbook_.sheets.size() ||
            static_cast<std::size_t>(now->sheet) >= source_.sheets.size())
            return false;
        const model::Sheet& old = source_.sheets[static_cast<std::size_t>(now->sheet)];
        const model::Sheet& sheet = workbook_.sheets[static_cast<std::size_t>(now->sheet)];
        const model::CellRange& range = now->range;
        for (int row = range.firstRow; row <= range.lastRow; ++row) {
            for (int column = range.firstColumn; column <= range.lastColumn; ++column) {
                const model::Cell* a = old.cell(row, column);
                const model::Cell* b = sheet.cell(row, column);
                const model::CellValue first = a ? source_.value(*a) : model::CellValue{};
                const model::CellValue second = b ? workbook_.value(*b) : model::CellValue{};
                if (first != second)
                    return true;
            }
        }
        return false;
    }

    // The prefix the root declares for a namespace ("a:"), empty when it declares none.
    std::string declaredPrefix(std::string_view uri) const
    {
        XmlTagScanner scanner(part_);
        const std::optional<XmlTag> root = scanner.next();
        if (!root)
            return {};
        const std::string_view tag = part_.substr(root->begin, root->end - root->begin);
        const std::string needle = std::string("\"") + std::string(uri) + "\"";
        const std::size_t at = tag.find(needle);
        if (at == std::string_view::npos)
            return {};
        const std::size_t equals = tag.rfind('=', at);
        const std::size_t start = tag.rfind("xmlns", equals);
        if (start == std::string_view::npos || equals == std::string_view::npos)
            return {};
        const std::string_view declaration = tag.substr(start, equals - start);
        return declaration.size() > 6 ? std::string(declaration.substr(6)) + ":" : std::string();
    }

    template <typename Visit>
    void forEachCell(const model::RangeReference& reference, Visit visit) const
    {
        if (reference.sheet < 0 || static_cast<std::size_t>(reference.sheet) >= workbook_.sheets.size())
            return;
        const model::Sheet& sheet = workbook_.sheets[static_cast<std::size_t>(reference.sheet)];
        const model::CellRange& range = reference.range;
        const long long width = range.lastColumn - range.firstColumn + 1;
        for (auto at = sheet.cells.lower_bound({range.firstRow, range.firstColumn});
             at != sheet.cells.end() && at->first.row <= range.lastRow; ++at)
            if (at->first.column >= range.firstColumn && at->first.column <= range.lastColumn)
                visit((at->first.row - range.firstRow) * width + (at->first.column - range.firstColumn), at->second);
    }

    std::string shown(const model::Cell& cell) const
    {
        if (cell.isText())
            return std::get<std::string>(workbook_.value(cell));
        std::string text;
        for (const format::Piece& piece : cellText_.formatted(cell).pieces)
            if (piece.kind == format::Piece::Kind::Text)
                text += piece.text;
        return QString::fromStdString(text).trimmed().toStdString();
    }

    void writeCache(std::string_view original, const XmlTag& tag, const model::RangeReference& reference, bool numbers,
                    const std::string& p)
    {
        const long long count = static_cast<long long>(reference.range.lastRow - reference.range.firstRow + 1) *
                                (reference.range.lastColumn - reference.range.firstColumn + 1);
        out_ += "<" + p + std::string(tag.localName()) + ">";
        bool formatWritten = false;
        if (numbers) {
            XmlTagScanner scanner(original);
            while (const std::optional<XmlTag> inner = scanner.next()) {
                if (inner->opens() && inner->localName() == "formatCode") {
                    out_.append(original.substr(inner->begin, scanner.elementEnd(*inner) - inner->begin));
                    formatWritten = true;
                    break;
                }
            }
        }
        if (numbers && !formatWritten)
            out_ += "<" + p + "formatCode>General</" + p + "formatCode>";
        out_ += "<" + p + "ptCount val=\"" + std::to_string(count) + "\"/>";
        forEachCell(reference, [&](long long point, const model::Cell& cell) {
            std::string value;
            if (numbers) {
                const std::optional<double> number = cell.number();
                if (!number || !std::isfinite(*number))
                    return;
                value = numberText(*number);
            } else {
                if (cell.isEmpty())
                    return;
                value = xmlText(shown(cell));
            }
            out_ += "<" + p + "pt idx=\"" + std::to_string(point) + "\"><" + p + "v>" + value + "</" + p + "v></" + p + "pt>";
        });
        out_ += "</" + p + std::string(tag.localName()) + ">";
    }

    std::optional<model::Rgb> fillOf(std::size_t series, unsigned point, const std::map<unsigned, model::Rgb>& chosen) const
    {
        if (const auto found = chosen.find(point); found != chosen.end())
            return found->second;
        const model::PointFormat format = after_.pointFormat(series, point);
        if (format.fill.kind == model::ChartFill::Kind::Solid)
            return format.fill.colour;
        return std::nullopt;
    }

    void addPoints(std::size_t series, const std::string& prefix, std::string_view lastPoint)
    {
        const auto added = after_.addedPoints.find(series);
        if (added == after_.addedPoints.end() || series >= after_.series.size() || !after_.series[series].values)
            return;
        const model::ChartSeries& now = after_.series[series];
        const bool ownFills = std::any_of(now.points.begin(), now.points.end(), [](const auto& point) {
            return point.second.fill.kind == model::ChartFill::Kind::Solid;
        });
        if (!ownFills)
            return; // the reader colours the points itself
        const model::CellRange& range = now.values->range;
        const auto count = static_cast<unsigned>((range.lastRow - range.firstRow + 1) * (range.lastColumn - range.firstColumn + 1));
        std::map<unsigned, model::Rgb> chosen;
        for (unsigned point = added->second; point < count; ++point) {
            if (now.points.contains(point))
                continue;
            const std::optional<model::Rgb> previous = point > 0 ? fillOf(series, point - 1, chosen) : std::nullopt;
            const std::optional<model::Rgb> first = fillOf(series, 0, chosen);
            for (std::size_t k = 0; k < SliceSequence.size(); ++k) {
                const model::Rgb candidate = SliceSequence[(point + k) % SliceSequence.size()];
                if (candidate != previous && candidate != first) {
                    chosen[point] = candidate;
                    break;
                }
            }
            if (const auto colour = chosen.find(point); colour != chosen.end())
                out_ += pointElement(prefix, lastPoint, point, colour->second);
        }
    }

    // A c:dPt for a new point: a copy of the series' last one with the point's index and fill, or a new one.
    std::string pointElement(const std::string& prefix, std::string_view model, unsigned point, model::Rgb colour) const
    {
        const std::string index = std::to_string(point);
        if (!model.empty()) {
            std::string copy;
            XmlTagScanner scanner(model);
            std::size_t copied = 0;
            bool inShape = false, idxDone = false, fillDone = false;
            while (const std::optional<XmlTag> tag = scanner.next()) {
                const std::string_view local = tag->localName();
                if (local == "idx" && tag->opens() && !idxDone) {
                    copy.append(model.substr(copied, tag->begin - copied));
                    copy += withAttribute(model.substr(tag->begin, tag->end - tag->begin), "val", index);
                    copied = tag->end;
                    idxDone = true;
                } else if (local == "spPr") {
                    inShape = tag->opens();
                } else if (local == "solidFill" && tag->kind == XmlTag::Kind::Start && inShape && !fillDone) {
                    const std::size_t end = scanner.elementEnd(*tag);
                    copy.append(model.substr(copied, tag->end - copied));
                    copy += "<" + std::string(tag->prefix()) + "srgbClr val=\"" + rgbText(colour) + "\"/>";
                    copy += "</" + std::string(tag->name) + ">";
                    copied = end;
                    fillDone = true;
                    inShape = false;
                }
            }
            copy.append(model.substr(copied));
            if (idxDone && fillDone)
                return copy;
        }
        const std::string a = drawingPrefix_.empty() ? std::string("a:") : drawingPrefix_;
        const std::string declaration = drawingPrefix_.empty() ? std::string(" xmlns:a=\"") + DrawingNamespace + "\"" : std::string();
        std::string element = "<" + prefix + "dPt><" + prefix + "idx val=\"" + index + "\"/>";
        const model::PointFormat look = after_.pointFormat(0, point == 0 ? 0 : point - 1);
        if (look.explosion && *look.explosion > 0)
            element += "<" + prefix + "explosion val=\"" + std::to_string(std::lround(*look.explosion * 100)) + "\"/>";
        element += "<" + prefix + "spPr" + declaration + "><" + a + "solidFill><" + a + "srgbClr val=\"" + rgbText(colour) +
                   "\"/></" + a + "solidFill></" + prefix + "spPr></" + prefix + "dPt>";
        return element;
    }

    std::string_view part_;
    const model::Workbook& source_;
    const model::Chart& before_;
    const model::Workbook& workbook_;
    const model::Chart& after_;
    const layout::CellText cellText_;
    std::string drawingPrefix_;
    std::string out_;
};

} // namespace

std::optional<std::string> changedChart(std::string_view part, const model::Workbook& source, const model::Chart& before,
                                        const model::Workbook& workbook, const model::Chart& after)
{
    ChartRewriter rewriter(part, source, before, workbook, after);
    if (!rewriter.anyChange())
        return std::nullopt;
    return rewriter.rewrite();
}

} // namespace sheet::xlsx
