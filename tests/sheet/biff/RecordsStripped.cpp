#include "RecordsStripped.h"

#include <algorithm>

namespace sheet::test {
namespace {

constexpr std::uint16_t SupBook = 0x01AE, ExternName = 0x0023, ExternSheet = 0x0017, Name = 0x0018,
                        MergeCells = 0x00E5;

template <typename Drop>
void dropRecords(std::vector<model::Record>& records, Drop drop)
{
    records.erase(std::remove_if(records.begin(), records.end(), drop), records.end());
}

} // namespace

model::Workbook withoutRecords(model::Workbook workbook)
{
    dropRecords(workbook.globalRecords, [](const model::Record& r) {
        return r.type != SupBook && r.type != ExternName && r.type != ExternSheet && r.type != Name;
    });
    workbook.trailingBytes.clear();
    workbook.addedFormats.clear();
    workbook.readXfCount = 0;
    for (model::Xf& xf : workbook.xfs)
        xf.raw = {};
    for (model::Sheet& sheet : workbook.sheets) {
        int depth = 0;
        dropRecords(sheet.records, [&depth](const model::Record& r) {
            if (r.type == 0x0809)
                ++depth;
            const bool sheetLevel = depth == 1;
            if (r.type == 0x000A)
                --depth;
            return !(sheetLevel && !r.run && r.type == MergeCells);
        });
        for (model::Chart& chart : sheet.charts) {
            chart.records.clear();
            chart.sourceRecords.clear();
        }
    }
    return workbook;
}

} // namespace sheet::test
