#include "sheet/xlsx/XlsxPackage.h"

#include "sheet/Errors.h"
#include "sheet/io/FileBytes.h"
#include "sheet/xlsx/ChangedChart.h"
#include "sheet/xlsx/ChangedSheet.h"
#include "sheet/xlsx/PackageRelations.h"
#include "sheet/xlsx/XmlTags.h"

#include <algorithm>
#include <map>
#include <set>

namespace sheet::xlsx {
namespace {

std::string lowered(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Replaces every `from` in `text` with `to`.
void replaceAll(std::string& text, std::string_view from, std::string_view to)
{
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

// The element of `text` that the scanner meets first with the local name, opening; nothing when none.
std::optional<XmlTag> firstElement(std::string_view text, std::string_view local)
{
    XmlTagScanner scanner(text);
    while (const std::optional<XmlTag> tag = scanner.next())
        if (tag->opens() && tag->localName() == local)
            return tag;
    return std::nullopt;
}

// The text with the element's count attribute set to `count` and `children` added before its end tag
// (an empty element is opened for them).
std::string withChildren(const std::string& text, const XmlTag& element, const std::string& children, std::size_t count)
{
    std::string start = withAttribute(std::string_view(text).substr(element.begin, element.end - element.begin), "count",
                                      std::to_string(count));
    if (element.kind == XmlTag::Kind::Empty) {
        start = start.substr(0, start.size() - 2) + ">";
        return text.substr(0, element.begin) + start + children + "</" + std::string(element.name) + ">" +
               text.substr(element.end);
    }
    XmlTagScanner scanner(text, element.begin);
    const std::optional<XmlTag> self = scanner.next();
    const std::size_t end = scanner.elementEnd(*self);
    const std::size_t close = text.rfind('<', end - 1);
    return text.substr(0, element.begin) + start + text.substr(element.end, close - element.end) + children +
           text.substr(close);
}

// The cell format elements (xf) of the styles part's cellXfs, in order.
std::vector<std::string_view> cellXfElements(std::string_view styles)
{
    std::vector<std::string_view> elements;
    XmlTagScanner scanner(styles);
    bool inCellXfs = false;
    while (const std::optional<XmlTag> tag = scanner.next()) {
        if (tag->localName() == "cellXfs") {
            inCellXfs = tag->kind == XmlTag::Kind::Start;
            continue;
        }
        if (inCellXfs && tag->opens() && tag->localName() == "xf") {
            const std::size_t end = scanner.elementEnd(*tag);
            elements.push_back(styles.substr(tag->begin, end - tag->begin));
        }
    }
    return elements;
}

bool sameLookButFormat(const model::Xf& a, const model::Xf& b)
{
    std::array<std::uint8_t, 20> x = a.raw, y = b.raw;
    for (std::size_t k : {2, 3, 9})
        x[k] = y[k] = 0;
    return x == y;
}

class PackageChanger {
public:
    PackageChanger(const XlsxPackage& source, const model::Workbook& workbook) : source_(source), workbook_(workbook) {}

    std::vector<zip::ZipEntry> parts()
    {
        if (workbook_.sheets.size() != source_.workbook.sheets.size())
            throw ArgumentError("the workbook has other sheets than the package it was read from");
        for (const zip::ZipEntry& entry : source_.parts)
            index_[lowered(entry.name)] = &entry;
        std::map<std::string, std::string> changed;
        bool cellsChanged = false;
        for (std::size_t k = 0; k < workbook_.sheets.size(); ++k) {
            const XlsxSheet& sheet = source_.sheets[k];
            if (sheet.part.empty())
                continue;
            if (const std::optional<std::string> part = changedWorksheet(bytesOf(sheet.part), source_.workbook,
                                                                          source_.workbook.sheets[k], workbook_,
                                                                          workbook_.sheets[k], source_.packageXfCount)) {
                changed[lowered(sheet.part)] = *part;
                cellsChanged = true;
            }
            const auto& before = source_.workbook.sheets[k].charts;
            const auto& after = workbook_.sheets[k].charts;
            for (std::size_t c = 0; c < sheet.chartParts.size() && c < before.size() && c < after.size(); ++c)
                if (const std::optional<std::string> part = changedChart(bytesOf(sheet.chartParts[c]), source_.workbook, before[c], workbook_, after[c]))
                    changed[lowered(sheet.chartParts[c])] = *part;
        }
        if (const std::optional<std::string> styles = changedStyles())
            changed[lowered(source_.stylesPart)] = *styles;

        std::set<std::string> dropped;
        const bool hasFormulas = std::any_of(source_.sheets.begin(), source_.sheets.end(),
                                             [](const XlsxSheet& sheet) { return !sheet.formulas.empty(); });
        const std::string workbookKey = lowered(source_.workbookPart);
        if (cellsChanged) {
            const std::vector<PackageRelationship> relationships = workbookRelationships();
            for (const PackageRelationship& relationship : relationships) {
                if (relationship.type != "calcChain")
                    continue;
                dropped.insert(lowered(relationship.target));
                const std::string rels = relationshipsPartOf(source_.workbookPart);
                changed[lowered(rels)] = withoutElement(changedOr(changed, rels), "Relationship", "Id", relationship.id);
                changed["[content_types].xml"] = withoutElement(changedOr(changed, "[Content_Types].xml"), "Override", "PartName",
                                                                "/" + relationship.target);
            }
            if (hasFormulas)
                changed[workbookKey] = withFullCalculation(changedOr(changed, source_.workbookPart));
        }
        if (source_.isTemplate) {
            std::string types = changedOr(changed, "[Content_Types].xml");
            replaceAll(types, "spreadsheetml.template.main+xml", "spreadsheetml.sheet.main+xml");
            replaceAll(types, "ms-excel.template.macroEnabled.main+xml", "ms-excel.sheet.macroEnabled.main+xml");
            changed["[content_types].xml"] = types;
        }

        std::vector<zip::ZipEntry> parts;
        for (const zip::ZipEntry& entry : source_.parts) {
            const std::string key = lowered(entry.name);
            if (dropped.contains(key))
                continue;
            const auto found = changed.find(key);
            parts.push_back(found == changed.end() ? entry : zip::ZipEntry{entry.name, found->second, entry.stored});
        }
        return parts;
    }

private:
    std::string_view bytesOf(const std::string& part) const
    {
        const auto found = index_.find(lowered(part));
        return found == index_.end() ? std::string_view() : std::string_view(found->second->bytes);
    }

    std::string changedOr(const std::map<std::string, std::string>& changed, const std::string& part) const
    {
        const auto found = changed.find(lowered(part));
        return found != changed.end() ? found->second : std::string(bytesOf(part));
    }

    std::vector<PackageRelationship> workbookRelationships() const
    {
        std::vector<PackageRelationship> relationships;
        const std::string_view rels = bytesOf(relationshipsPartOf(source_.workbookPart));
        XmlTagScanner scanner(rels);
        while (const std::optional<XmlTag> tag = scanner.next()) {
            if (!tag->opens() || tag->localName() != "Relationship")
                continue;
            const std::string_view text = rels.substr(tag->begin, tag->end - tag->begin);
            PackageRelationship relationship;
            relationship.id = xmlUnescaped(tagAttribute(text, "Id").value_or(""));
            const std::string type = xmlUnescaped(tagAttribute(text, "Type").value_or(""));
            relationship.type = type.substr(type.rfind('/') + 1);
            relationship.target = resolvedTarget(source_.workbookPart, xmlUnescaped(tagAttribute(text, "Target").value_or("")));
            relationships.push_back(relationship);
        }
        return relationships;
    }

    // The text without the first element of that local name whose attribute has the value.
    static std::string withoutElement(const std::string& text, std::string_view local, std::string_view attribute,
                                      const std::string& value)
    {
        XmlTagScanner scanner(text);
        while (const std::optional<XmlTag> tag = scanner.next()) {
            if (!tag->opens() || tag->localName() != local)
                continue;
            const auto found = tagAttribute(std::string_view(text).substr(tag->begin, tag->end - tag->begin), attribute);
            if (found && lowered(xmlUnescaped(*found)) == lowered(value)) {
                const std::size_t end = scanner.elementEnd(*tag);
                return text.substr(0, tag->begin) + text.substr(end);
            }
        }
        return text;
    }

    // The workbook part asking for a full calculation when it is opened.
    static std::string withFullCalculation(const std::string& text)
    {
        if (const std::optional<XmlTag> calc = firstElement(text, "calcPr"))
            return text.substr(0, calc->begin) +
                   withAttribute(std::string_view(text).substr(calc->begin, calc->end - calc->begin), "fullCalcOnLoad", "1") +
                   text.substr(calc->end);
        // calcPr comes after definedNames and before what may follow it.
        XmlTagScanner scanner(text);
        std::optional<XmlTag> root = scanner.next();
        while (root && !root->opens())
            root = scanner.next();
        if (!root)
            return text;
        const std::string prefix(root->prefix());
        std::size_t insertAt = text.rfind("</");
        int depth = 0;
        while (const std::optional<XmlTag> tag = scanner.next()) {
            if (tag->kind == XmlTag::Kind::End) {
                --depth;
                continue;
            }
            static const char* later[] = {"oleSize", "customWorkbookViews", "pivotCaches", "smartTagPr", "smartTagTypes",
                                          "webPublishing", "fileRecoveryPr", "webPublishObjects", "extLst"};
            if (depth == 0 && std::any_of(std::begin(later), std::end(later), [&](const char* name) { return tag->localName() == name; })) {
                insertAt = tag->begin;
                break;
            }
            if (tag->kind == XmlTag::Kind::Start)
                ++depth;
        }
        return text.substr(0, insertAt) + "<" + prefix + "calcPr fullCalcOnLoad=\"1\"/>" + text.substr(insertAt);
    }

    // The styles part with the number formats and cell formats added since reading; nothing when none were.
    std::optional<std::string> changedStyles() const
    {
        const model::Workbook& before = source_.workbook;
        std::string formats;
        std::size_t added = 0;
        for (const auto& [id, code] : workbook_.formats.codes) {
            const auto old = before.formats.codes.find(id);
            if (old != before.formats.codes.end() && old->second == code)
                continue;
            formats += "<numFmt numFmtId=\"" + std::to_string(id) + "\" formatCode=\"" + xmlText(code) + "\"/>";
            ++added;
        }
        const std::size_t modelCount = modelXfCount(source_.packageXfCount);
        if (added == 0 && workbook_.xfs.size() <= modelCount)
            return std::nullopt;
        std::string styles(bytesOf(source_.stylesPart));
        if (styles.empty())
            throw FormatError("the package has no styles part to add the new cell formats to");
        const std::string prefix = [&] {
            const std::optional<XmlTag> root = firstElement(styles, "styleSheet");
            return root ? std::string(root->prefix()) : std::string();
        }();
        if (!formats.empty()) {
            replaceAll(formats, "<numFmt ", "<" + prefix + "numFmt ");
            if (const std::optional<XmlTag> list = firstElement(styles, "numFmts")) {
                std::size_t existing = 0;
                XmlTagScanner scanner(styles, list->end);
                if (list->kind == XmlTag::Kind::Start)
                    while (const std::optional<XmlTag> tag = scanner.next()) {
                        if (tag->kind == XmlTag::Kind::End && tag->localName() == "numFmts")
                            break;
                        if (tag->opens() && tag->localName() == "numFmt")
                            ++existing;
                    }
                styles = withChildren(styles, *list, formats, existing + added);
            } else if (const std::optional<XmlTag> root = firstElement(styles, "styleSheet")) {
                styles = styles.substr(0, root->end) + "<" + prefix + "numFmts count=\"" + std::to_string(added) + "\">" + formats +
                         "</" + prefix + "numFmts>" + styles.substr(root->end);
            }
        }
        if (workbook_.xfs.size() > modelCount) {
            const std::vector<std::string_view> elements = cellXfElements(styles);
            std::string xfs;
            for (std::size_t k = modelCount; k < workbook_.xfs.size(); ++k)
                xfs += newXf(workbook_.xfs[k], elements, prefix);
            if (const std::optional<XmlTag> list = firstElement(styles, "cellXfs"))
                styles = withChildren(styles, *list, xfs, elements.size() + workbook_.xfs.size() - modelCount);
        }
        return styles;
    }

    // The element of a cell format added since reading: that of the format it was copied from with its
    // number format, or a plain one.
    std::string newXf(const model::Xf& xf, const std::vector<std::string_view>& elements, const std::string& prefix) const
    {
        const std::string id = std::to_string(xf.formatIndex);
        for (std::size_t m = 0; m < modelXfCount(source_.packageXfCount) && m < source_.workbook.xfs.size(); ++m) {
            if (!sameLookButFormat(source_.workbook.xfs[m], xf))
                continue;
            const auto p = static_cast<std::size_t>(packageXfIndex(static_cast<int>(m), source_.packageXfCount));
            if (p >= elements.size())
                break;
            const std::string_view element = elements[p];
            XmlTagScanner scanner(element);
            const std::optional<XmlTag> start = scanner.next();
            std::string tag = withAttribute(element.substr(0, start->end), "numFmtId", id);
            tag = withAttribute(tag, "applyNumberFormat", "1");
            return tag + std::string(element.substr(start->end));
        }
        return "<" + prefix + "xf numFmtId=\"" + id + "\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyNumberFormat=\"1\"/>";
    }

    const XlsxPackage& source_;
    const model::Workbook& workbook_;
    std::map<std::string, const zip::ZipEntry*> index_;
};

} // namespace

std::vector<zip::ZipEntry> changedXlsxParts(const XlsxPackage& source, const model::Workbook& workbook)
{
    return PackageChanger(source, workbook).parts();
}

void saveChangedXlsx(const XlsxPackage& source, const model::Workbook& workbook, const std::string& path,
                     biff::SaveTarget target)
{
    const std::vector<std::uint8_t> bytes = zip::zipArchive(changedXlsxParts(source, workbook));
    if (target == biff::SaveTarget::ChosenFile)
        io::writeChosenFile(path, bytes);
    else
        io::writeFileAtomically(path, bytes);
}

} // namespace sheet::xlsx
