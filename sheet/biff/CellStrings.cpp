#include "sheet/biff/CellStrings.h"

#include "sheet/text/Utf16.h"

#include <string_view>
#include <unordered_map>

namespace sheet::biff {

// The texts are looked up through views of the table's own
// entries, which stay put because the table has room for every text cell before any is added.
std::uint32_t internStrings(model::Workbook& workbook)
{
    const auto written = [](const model::Sheet& sheet, const model::CellAddress& at, const model::Cell& cell) {
        return cell.kind() == model::Cell::Kind::Text && !sheet.formulaOf(at, cell);
    };
    std::size_t textCells = 0;
    for (const model::Sheet& sheet : workbook.sheets)
        for (const auto& [at, cell] : sheet.cells)
            textCells += written(sheet, at, cell);
    workbook.sharedStrings.reserve(workbook.sharedStrings.size() + textCells);

    std::unordered_map<std::u16string_view, std::uint32_t> plain;
    for (std::size_t i = 0; i < workbook.sharedStrings.size(); ++i) {
        const model::SharedString& entry = workbook.sharedStrings[i];
        if (entry.runs.empty() && entry.phonetic.empty())
            plain.emplace(entry.text, static_cast<std::uint32_t>(i));
    }
    std::uint32_t references = 0;
    for (model::Sheet& sheet : workbook.sheets) {
        for (const auto& [at, stored] : sheet.cells) {
            if (stored.kind() == model::Cell::Kind::SharedText && !sheet.formulaOf(at, stored))
                ++references;
            if (!written(sheet, at, stored))
                continue;
            ++references;
            // A text cell is a cell of its own: changing it moves no other.
            model::Cell& cell = sheet.cells[at];
            std::string& utf8 = workbook.cellTexts[cell.textIndex()];
            std::u16string text = text::toUtf16(utf8);
            std::string().swap(utf8);
            if (auto found = plain.find(text); found != plain.end()) {
                cell.setSharedText(found->second);
                continue;
            }
            const auto entry = static_cast<std::uint32_t>(workbook.sharedStrings.size());
            workbook.sharedStrings.push_back(model::SharedString{std::move(text), {}, {}});
            plain.emplace(workbook.sharedStrings.back().text, entry);
            cell.setSharedText(entry);
        }
    }
    return references;
}

} // namespace sheet::biff
