#include "sheet/automation/WorkbookSource.h"

#include "sheet/Errors.h"
#include "sheet/io/FileBytes.h"
#include "sheet/ods/OdsFile.h"
#include "sheet/xlsx/XlsxFile.h"

#include <algorithm>
#include <string_view>
#include <type_traits>

namespace sheet {

namespace {

bool startsWith(const std::vector<std::uint8_t>& bytes, std::string_view prefix)
{
    return bytes.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), bytes.begin(),
                                                        [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; });
}

// A zip archive is an OpenDocument package when its first entry names an OpenDocument type, as the format
// asks; any other is taken for an Office Open XML package, whose reader says what it misses.
bool isOpenDocumentPackage(const std::vector<std::uint8_t>& bytes)
{
    constexpr std::string_view name = "mimetype";
    constexpr std::string_view type = "application/vnd.oasis.opendocument.";
    constexpr std::size_t nameAt = 30;
    const std::size_t typeAt = nameAt + name.size();
    if (bytes.size() < typeAt + type.size())
        return false;
    return std::equal(name.begin(), name.end(), bytes.begin() + nameAt, [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; }) &&
           std::equal(type.begin(), type.end(), bytes.begin() + static_cast<long>(typeAt),
                      [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; });
}

// A flat OpenDocument file is XML: after a byte order mark and white space, a declaration or its root.
bool isXmlDocument(const std::vector<std::uint8_t>& bytes)
{
    std::size_t at = startsWith(bytes, "\xEF\xBB\xBF") ? 3 : 0;
    while (at < bytes.size() && (bytes[at] == ' ' || bytes[at] == '\t' || bytes[at] == '\r' || bytes[at] == '\n'))
        ++at;
    return at < bytes.size() && bytes[at] == '<';
}

} // namespace

WorkbookSource::WorkbookSource(std::variant<biff::WorkbookFile, xlsx::XlsxPackage, ods::OdsPackage> source)
    : source_(std::move(source))
{
    std::visit(
        [this](auto& read) {
            if constexpr (!std::is_same_v<std::decay_t<decltype(read)>, biff::WorkbookFile>)
                working_ = read.workbook;
        },
        source_);
}

WorkbookSource WorkbookSource::open(const std::string& path, const std::string& password)
{
    std::vector<std::uint8_t> bytes = io::readFileBytes(path);
    try {
        if (startsWith(bytes, "PK\x03\x04")) {
            if (isOpenDocumentPackage(bytes))
                return WorkbookSource(ods::readOdsPackage(std::move(bytes)));
            return WorkbookSource(xlsx::readXlsxPackage(std::move(bytes)));
        }
        if (isXmlDocument(bytes))
            return WorkbookSource(ods::readOdsPackage(std::move(bytes)));
        return WorkbookSource(biff::readWorkbookFile(bytes, password));
    } catch (const PasswordError& error) {
        throw PasswordError(path + ": " + error.what());
    } catch (const FormatError& error) {
        throw FormatError(path + ": " + error.what());
    }
}

WorkbookFormat WorkbookSource::format() const
{
    if (std::holds_alternative<xlsx::XlsxPackage>(source_))
        return WorkbookFormat::OfficeOpenXml;
    if (std::holds_alternative<ods::OdsPackage>(source_))
        return WorkbookFormat::OpenDocument;
    return WorkbookFormat::Excel97;
}

model::Workbook& WorkbookSource::workbook()
{
    if (auto* file = excel97())
        return file->workbook;
    return working_;
}

namespace {

bool anyPartHolds(const std::vector<zip::ZipEntry>& parts, std::string_view prefix, std::string_view element)
{
    return std::any_of(parts.begin(), parts.end(), [&](const zip::ZipEntry& part) {
        return part.name.starts_with(prefix) && part.bytes.find(element) != std::string::npos;
    });
}

std::string counted(std::size_t count, const std::string& what)
{
    return std::to_string(count) + " " + what;
}

} // namespace

std::vector<std::string> WorkbookSource::unreadFeatures() const
{
    std::vector<std::string> features;
    if (const auto* package = std::get_if<xlsx::XlsxPackage>(&source_)) {
        std::size_t formulas = 0, beyond = 0;
        for (const xlsx::XlsxSheet& sheet : package->sheets) {
            formulas += sheet.formulasNotRead;
            beyond += sheet.cellsBeyondTheSheet;
        }
        if (formulas > 0)
            features.push_back(counted(formulas, "cells of shared or array formulas or data tables"));
        if (beyond > 0)
            features.push_back(counted(beyond, "cells beyond row 65,536 or column IV"));
        const std::pair<const char*, const char*> elements[] = {{"<dataValidations", "data validation"},
                                                                {"<conditionalFormatting", "conditional formats"},
                                                                {"<hyperlinks", "hyperlinks"}};
        for (const auto& [element, name] : elements)
            if (anyPartHolds(package->parts, "xl/worksheets/", element))
                features.push_back(name);
        if (anyPartHolds(package->parts, "xl/media/", ""))
            features.push_back("pictures");
    } else if (const auto* package = std::get_if<ods::OdsPackage>(&source_)) {
        std::size_t formulas = 0;
        for (std::size_t k = 0; k < package->formulas.size() && k < package->workbook.sheets.size(); ++k)
            for (const auto& [at, text] : package->formulas[k])
                formulas += package->workbook.sheets[k].formulas.count(at) == 0;
        if (formulas > 0)
            features.push_back(counted(formulas, "formulas the engine cannot read"));
        const std::pair<const char*, const char*> elements[] = {{"<table:content-validation", "data validation"},
                                                                {"<calcext:conditional-format", "conditional formats"},
                                                                {"<text:a ", "hyperlinks"},
                                                                {"xlink:href=\"Pictures/", "pictures"}};
        for (const auto& [element, name] : elements)
            if (anyPartHolds(package->parts, "", element))
                features.push_back(name);
    }
    return features;
}

void WorkbookSource::save(const std::string& path, WorkbookFormat format, biff::SaveTarget target)
{
    if (format != this->format()) {
        if (const std::vector<std::string> unread = unreadFeatures(); !unread.empty()) {
            std::string list;
            for (const std::string& feature : unread)
                list += (list.empty() ? "" : ", ") + feature;
            throw FormatError("the workbook holds " + list + ", which the engine does not read from its " +
                              (this->format() == WorkbookFormat::OpenDocument ? "OpenDocument" : ".xlsx") +
                              " file yet: save it in its own format to keep them");
        }
    }
    if (auto* package = std::get_if<xlsx::XlsxPackage>(&source_); package && format == WorkbookFormat::OfficeOpenXml)
        return xlsx::saveChangedXlsx(*package, working_, path, target);
    if (auto* package = std::get_if<ods::OdsPackage>(&source_); package && format == WorkbookFormat::OpenDocument)
        return ods::saveChangedOds(*package, working_, path, target);
    switch (format) {
    case WorkbookFormat::OfficeOpenXml:
        return xlsx::saveXlsxFile(workbook(), path, target);
    case WorkbookFormat::OpenDocument:
        return ods::saveOdsFile(workbook(), path, target);
    case WorkbookFormat::Excel97:
        break;
    }
    if (auto* file = excel97())
        return biff::saveWorkbookFile(*file, path, target);
    // The package's workbook is lent to a new compound file for the writing, and taken back however it ends.
    biff::WorkbookFile written;
    model::Workbook& own = workbook();
    std::swap(written.workbook, own);
    struct TakeBack {
        model::Workbook& own;
        model::Workbook& lent;
        ~TakeBack() { std::swap(own, lent); }
    } takeBack{own, written.workbook};
    biff::saveWorkbookFile(written, path, target);
}

} // namespace sheet
