#include "sheet/edit/FormulaCells.h"

#include "sheet/Errors.h"
#include "sheet/biff/FormulaGroups.h"
#include "sheet/biff/RecordTypes.h"
#include "sheet/model/A1Notation.h"

namespace sheet::edit {
namespace {

namespace rt = biff::rt;

using Records = std::vector<model::Record>;

// The formula records of a cell that has a formula, nullptr for any other.
Records* formulaRecords(model::Sheet& sheet, const model::CellAddress& at)
{
    const model::Cell* cell = sheet.cell(at.row, at.column);
    auto found = sheet.formulas.find(at);
    if (!cell || !cell->hasFormula() || found == sheet.formulas.end() || found->second.empty())
        return nullptr;
    return &found->second;
}

const model::Record* recordOf(const Records& records, std::uint16_t type)
{
    for (const model::Record& record : records)
        if (record.type == type)
            return &record;
    return nullptr;
}

// Refuses a write to `at` when the records that start a group make it an array formula or a data table
// that covers more than that cell.
void refuseWithinWhole(const Records& group, const model::CellAddress& at)
{
    for (const auto& [type, what] : {std::pair{rt::Array, "an array formula"}, std::pair{rt::Table, "a data table"}}) {
        const model::Record* record = recordOf(group, type);
        if (!record)
            continue;
        const model::CellRange range = biff::formulaGroupRange(*record);
        if (range != model::CellRange{at.row, at.column, at.row, at.column})
            throw PartialRangeError("cannot change part of " + std::string(what) + ": " +
                                    model::cellAddress(at.row, at.column) + " lies in " + model::rangeAddress(range));
    }
}

// Gives every other cell of the shared formula that `shared` describes and that starts at `start` a
// formula of its own.
void separateSharedFormula(model::Sheet& sheet, const model::Record& shared, const model::CellAddress& start,
                           const model::CellAddress& written)
{
    const model::CellRange range = biff::formulaGroupRange(shared);
    std::vector<std::pair<Records*, model::Record>> separated;
    for (int row = range.firstRow; row <= range.lastRow; ++row) {
        for (auto it = sheet.formulas.lower_bound({row, range.firstColumn});
             it != sheet.formulas.end() && it->first.row == row && it->first.column <= range.lastColumn; ++it) {
            if (it->first == written || !formulaRecords(sheet, it->first) || biff::formulaGroupStart(it->second[0]) != start)
                continue;
            try {
                separated.emplace_back(&it->second, biff::ownFormula(it->second[0], shared));
            } catch (const FormatError& error) {
                throw FormatError("cannot give " + model::cellAddress(it->first.row, it->first.column) +
                                  " a formula of its own apart from the shared formula of " +
                                  model::rangeAddress(range) + ": " + error.what());
            }
        }
    }
    for (auto& [records, own] : separated)
        records->front() = std::move(own);
}

} // namespace

void releaseFormulaCell(model::Sheet& sheet, const model::CellAddress& at)
{
    Records* records = formulaRecords(sheet, at);
    if (!records)
        return;
    const model::CellAddress start = biff::formulaGroupStart(records->front()).value_or(at);
    Records* group = start == at ? records : formulaRecords(sheet, start);
    if (!group)
        return;
    refuseWithinWhole(*group, at);
    if (group != records)
        return;
    if (const model::Record* shared = recordOf(*group, rt::SharedFormula))
        separateSharedFormula(sheet, *shared, start, at);
}

} // namespace sheet::edit
