#include "SampleWorkbook.h"

#include "sheet/biff/ChartDescription.h"

#include <cstdint>
#include <initializer_list>

namespace render_testing {

namespace {

using sheet::model::Record;

class Bytes {
public:
    Bytes& u8(unsigned v) { data.push_back(static_cast<std::uint8_t>(v)); return *this; }
    Bytes& u16(unsigned v) { return u8(v & 0xFF).u8(v >> 8 & 0xFF); }
    Bytes& u32(unsigned v) { return u16(v & 0xFFFF).u16(v >> 16); }
    Bytes& rgb(unsigned v) { return u8(v >> 16 & 0xFF).u8(v >> 8 & 0xFF).u8(v & 0xFF).u8(0); }
    std::vector<std::uint8_t> data;
};

Record rec(std::uint16_t type, const Bytes& bytes = {})
{
    return Record{type, bytes.data};
}

void add(std::vector<Record>& records, std::initializer_list<Record> more)
{
    records.insert(records.end(), more);
}

Record areaFormat(unsigned rgb, unsigned icv)
{
    return rec(0x100A, Bytes().rgb(rgb).rgb(0).u16(1).u16(0).u16(icv).u16(0x4D));
}

Record lineNone()
{
    return rec(0x1007, Bytes().rgb(0).u16(5).u16(0xFFFF).u16(0).u16(0x4D));
}

Record text(unsigned flags)
{
    return rec(0x1025, Bytes().u8(2).u8(2).u16(1).rgb(0).u32(0).u32(0).u32(0).u32(0).u16(flags).u16(0x7FFF).u16(0).u16(0));
}

}  // namespace

std::vector<Entry> sampleEntries()
{
    return {{"Savings", 25000}, {"401k", 55000}, {"Stocks", 15000}, {"House", 250000}, {"Bonds", 11000}, {"Car", 7500}};
}

std::vector<Record> pieChartRecords(bool threeD, int explodePercent, unsigned labelFlags)
{
    std::vector<Record> r;
    add(r, {rec(0x0809, Bytes().u16(0x600).u16(0x20).u32(0).u32(0).u32(0)),
            rec(0x1002, Bytes().u32(0).u32(0).u32(649u << 16).u32(349u << 16)), rec(0x1033),
            rec(0x1032, Bytes().u16(0).u16(3)), rec(0x1033), lineNone(), areaFormat(0xFFFFFF, 9), rec(0x1034),
            rec(0x1003, Bytes().u16(1).u16(1).u16(6).u16(6).u16(1).u16(0)), rec(0x1033)});
    add(r, {rec(0x1006, Bytes().u16(0xFFFF).u16(0).u16(0).u16(0)), rec(0x1033), lineNone(),
            areaFormat(0x004586, 56), rec(0x100B, Bytes().u16(static_cast<unsigned>(explodePercent))),
            rec(0x100C, Bytes().u16(labelFlags)), rec(0x1034)});
    for (unsigned point = 0; point < 6; ++point) {
        add(r, {rec(0x1006, Bytes().u16(point).u16(0).u16(0).u16(0)), rec(0x1033), lineNone(),
                areaFormat(sliceColours[point], 0), rec(0x100B, Bytes().u16(static_cast<unsigned>(explodePercent))),
                rec(0x100C, Bytes().u16(labelFlags)), rec(0x1034)});
    }
    add(r, {rec(0x1045, Bytes().u16(0)), rec(0x1034), rec(0x1044, Bytes().u16(8).u16(0)), rec(0x1046, Bytes().u16(1)),
            rec(0x1041, Bytes().u16(0).u32(471).u32(517).u32(2886).u32(3251)), rec(0x1033),
            rec(0x104F, Bytes().u16(2).u16(2).u32(471).u32(517).u32(2886).u32(3251)), rec(0x1035),
            rec(0x1014, Bytes().u32(0).u32(0).u32(0).u32(0).u16(1).u16(0)), rec(0x1033),
            rec(0x1019, Bytes().u16(210).u16(0).u16(0))});
    if (threeD)
        r.push_back(rec(0x103A, Bytes().u16(210).u16(30).u16(5).u16(100).u16(100).u16(150).u16(0)));
    add(r, {rec(0x1034), rec(0x1034)});
    Bytes title;
    title.u16(0).u8(9).u8(0);
    for (char c : std::string("My Assets"))
        title.u8(static_cast<unsigned char>(c));
    add(r, {text(0x81), rec(0x1033), rec(0x1026, Bytes().u16(6)), rec(0x100D, title),
            rec(0x1027, Bytes().u16(1).u16(0).u16(0)), rec(0x1034)});
    add(r, {text(0x5891), rec(0x1033), rec(0x1026, Bytes().u16(7)), rec(0x1027, Bytes().u16(4).u16(0).u16(0xFFFF)),
            rec(0x086B, Bytes().u16(0x86B).u16(0).u32(0).u32(0).u16(0xA).u16(1).u8(0).u8(' ')), rec(0x1034)});
    add(r, {rec(0x1034), rec(0x000A)});
    return r;
}

sheet::model::Workbook sampleWorkbook(const std::vector<Entry>& entries)
{
    using namespace sheet::model;
    Workbook wb;
    wb.fonts = {fontOf("Constantia", 220), fontOf("Arial", 200), fontOf("Arial", 200), fontOf("Arial", 200),
                fontOf("Constantia", 220, 700, 9), fontOf("Constantia", 360, 700), fontOf("Constantia", 260, 700)};
    wb.palette.colors[40 - 8] = headerFill;
    wb.palette.colors[26 - 8] = 0xDBE5F1;
    wb.palette.colors[36 - 8] = 0xB8CCE4;
    for (int k = 0; k < 6; ++k)
        wb.palette.colors[static_cast<std::size_t>(48 + k)] = sliceColours[k];
    const int accounting = FirstCustomFormat;
    wb.formats.codes[accounting] = R"(_($* #,##0_);_($* (#,##0);_($* "-"??_);_(@_))";
    wb.xfs.resize(21);
    auto band = [&](int index, int fill, int format) {
        Xf& xf = wb.xfs[static_cast<std::size_t>(index)];
        xf.fillPattern = 1;
        xf.patternForeground = fill;
        xf.formatIndex = format;
        xf.bottom = Border{1, 9};
    };
    band(16, 40, 0);
    wb.xfs[16].fontIndex = 5;  // the bold white header font (index 4 is skipped)
    band(17, 26, 0);
    band(18, 26, accounting);
    band(19, 36, 0);
    band(20, 36, accounting);

    Sheet sheet;
    sheet.name = "Assets";
    sheet.showGridlines = false;
    sheet.columns = {columnsOf(0, 0, 3904), columnsOf(1, 1, 2656)};
    for (int row = 2; row <= 8; ++row)
        sheet.rows[row] = rowOf(300);
    sheet.cells[{2, 0}] = cellOf(wb, std::string("Asset Type"), 16);
    sheet.cells[{2, 1}] = cellOf(wb, std::string("Amount"), 16);
    for (std::size_t k = 0; k < entries.size(); ++k) {
        const int row = 3 + static_cast<int>(k);
        const bool odd = k % 2 == 0;
        sheet.cells[{row, 0}] = cellOf(wb, entries[k].first, odd ? 17 : 19);
        sheet.cells[{row, 1}] = cellOf(wb, entries[k].second, odd ? 18 : 20);
    }
    sheet.cells[{16, 1}] = cellOf(wb, std::monostate{}, 20);
    sheet.cells[{18, 1}] = cellOf(wb, std::monostate{}, 20);

    sheet.charts.push_back(sampleChart(wb, pieChartRecords(true, 10, 0x16)));
    sheet.drawings.push_back(chartDrawing(Anchor{2, 512, 2, 20, 14, 512, 25, 64}, 0));
    wb.sheets.push_back(sheet);
    return wb;
}

sheet::model::Chart sampleChart(const sheet::model::Workbook& workbook, std::vector<sheet::model::Record> records)
{
    using namespace sheet::model;
    Chart chart;
    chart.records = std::move(records);
    sheet::biff::describeChart(chart, workbook, 0, {});
    if (chart.series.empty())
        chart.series.emplace_back();
    chart.series[0].name = RangeReference{0, {2, 1, 2, 1}};
    chart.series[0].values = RangeReference{0, {3, 1, 8, 1}};
    chart.series[0].categories = RangeReference{0, {3, 0, 8, 0}};
    return chart;
}

}  // namespace render_testing
