#include "sheet/biff/WorkbookWriter.h"

#include "sheet/biff/CellStrings.h"
#include "sheet/biff/ModelWorkbookWriter.h"
#include "sheet/biff/RecordStream.h"
#include "sheet/biff/RecordTypes.h"
#include "sheet/biff/SharedStringTable.h"
#include "sheet/biff/SheetWriter.h"
#include "sheet/biff/SliceColours.h"
#include "sheet/biff/UnicodeText.h"
#include "sheet/text/Utf16.h"
#include "sheet/io/ByteWriter.h"

#include <algorithm>
#include <optional>

namespace sheet::biff {
namespace {

// How many FONT records the workbook lacks for the font indices its cell formats use; readers warn of
// or refuse a format whose font does not exist. Index 4 never exists; past the most fonts a workbook can
// have, an index is damage that new records would not mend.
std::size_t missingFonts(const model::Workbook& workbook)
{
    constexpr int MostFonts = 512;
    std::size_t needed = 0;
    for (const model::Xf& xf : workbook.xfs)
        if (xf.fontIndex != 4 && xf.fontIndex <= MostFonts)
            needed = std::max<std::size_t>(needed, static_cast<std::size_t>(xf.fontIndex < 4 ? xf.fontIndex + 1 : xf.fontIndex));
    return needed > workbook.fonts.size() ? needed - workbook.fonts.size() : 0;
}

// A FONT record for the missing fonts: a copy of the first font, or 10-point Arial.
std::vector<std::uint8_t> missingFontBody(const std::vector<model::Record>& records)
{
    for (const model::Record& record : records)
        if (record.type == rt::Font)
            return record.bytes;
    std::vector<std::uint8_t> body;
    io::ByteWriter w(body);
    w.u16(200);    // height in twips
    w.u16(0);      // options
    w.u16(0x7FFF); // the window text colour
    w.u16(400);    // weight
    w.u16(0);      // no superscript or subscript
    w.u8(0);       // no underline
    w.zeros(3);    // family, character set, reserved
    writeUnicodeString(body, u"Arial", 1);
    return body;
}

// The bytes of the stream as it was read, about as many as it takes written again.
std::size_t readStreamSize(const model::Workbook& workbook)
{
    std::size_t size = workbook.trailingBytes.size();
    for (const model::Record& record : workbook.globalRecords)
        size += streamSize(record);
    for (const model::Sheet& sheet : workbook.sheets)
        for (const model::Record& record : sheet.records)
            size += streamSize(record);
    return size;
}

bool anySheetModified(const model::Workbook& workbook)
{
    for (const model::Sheet& sheet : workbook.sheets)
        if (sheet.modified)
            return true;
    return false;
}

class GlobalsWriter {
public:
    GlobalsWriter(const model::Workbook& workbook, std::vector<std::uint8_t>& out, std::uint32_t references)
        : workbook_(workbook), out_(out), references_(references)
    {
    }

    // Writes the globals; returns the positions of the BOUNDSHEET records.
    std::vector<std::size_t> write(bool rebuild)
    {
        const auto& records = workbook_.globalRecords;
        std::size_t lastFormat = records.size(), firstXf = records.size(), lastXf = records.size();
        for (std::size_t i = 0; i < records.size(); ++i) {
            if (records[i].type == rt::Format)
                lastFormat = i;
            if (records[i].type == rt::Xf) {
                lastXf = i;
                if (firstXf == records.size())
                    firstXf = i;
            }
        }
        const std::size_t formatsAfter = lastFormat != records.size() ? lastFormat : (firstXf ? firstXf - 1 : 0);
        const std::size_t fontsBefore = fontsPosition();
        bool stringsWritten = false;
        bool skippingContinue = false;
        std::vector<std::size_t> boundSheets;
        for (std::size_t i = 0; i < records.size(); ++i) {
            const model::Record& record = records[i];
            if (rebuild && i == fontsBefore)
                writeMissingFonts();
            if (rebuild) {
                if (skippingContinue && record.type == rt::Continue)
                    continue;
                skippingContinue = false;
                if (record.type == rt::Sst) {
                    writeStrings();
                    stringsWritten = skippingContinue = true;
                    continue;
                }
                if (record.type == rt::ExtSst)
                    continue;
                if (record.type == rt::Eof && i + 1 == records.size() && !stringsWritten)
                    writeStrings();
            }
            if (record.type == rt::BoundSheet)
                boundSheets.push_back(out_.size());
            appendRecordAsIs(out_, record.type, record.bytes);
            if (rebuild && i == formatsAfter)
                writeAddedFormats();
            if (rebuild && i == lastXf)
                writeAddedXfs();
        }
        return boundSheets;
    }

private:
    // Where fonts the workbook lacks go: after its last FONT record, else before its first FORMAT or XF.
    std::size_t fontsPosition() const
    {
        const auto& records = workbook_.globalRecords;
        std::optional<std::size_t> lastFont, firstFormat;
        for (std::size_t i = 0; i < records.size(); ++i) {
            if (records[i].type == rt::Font)
                lastFont = i;
            if ((records[i].type == rt::Format || records[i].type == rt::Xf) && !firstFormat)
                firstFormat = i;
        }
        return lastFont ? *lastFont + 1 : firstFormat.value_or(records.empty() ? 0 : records.size() - 1);
    }

    void writeMissingFonts()
    {
        const std::vector<std::uint8_t> body = missingFontBody(workbook_.globalRecords);
        for (std::size_t i = missingFonts(workbook_); i > 0; --i)
            appendRecordAsIs(out_, rt::Font, body);
    }

    void writeStrings() { writeSharedStrings(workbook_.sharedStrings, references_, out_); }

    void writeAddedFormats()
    {
        for (int index : workbook_.addedFormats) {
            std::vector<std::uint8_t> body;
            io::ByteWriter(body).u16(static_cast<std::uint16_t>(index));
            writeUnicodeString(body, text::toUtf16(workbook_.formats.code(index)), 2);
            appendRecordAsIs(out_, rt::Format, body);
        }
    }

    void writeAddedXfs()
    {
        for (std::size_t i = workbook_.readXfCount; i < workbook_.xfs.size(); ++i)
            appendRecordAsIs(out_, rt::Xf, workbook_.xfs[i].raw);
    }

    const model::Workbook& workbook_;
    std::vector<std::uint8_t>& out_;
    std::uint32_t references_;
};

} // namespace

std::vector<std::uint8_t> writeWorkbook(model::Workbook& workbook)
{
    if (workbook.globalRecords.empty() || workbook.globalRecords.front().type != rt::Bof)
        return writeModelWorkbook(workbook);
    colourAddedSlices(workbook);
    const bool rebuild = workbook.modified || anySheetModified(workbook) || missingFonts(workbook) > 0;
    const std::uint32_t references = rebuild ? internStrings(workbook) : 0;
    std::vector<std::uint8_t> out;
    out.reserve(readStreamSize(workbook));
    const std::vector<std::size_t> boundSheets = GlobalsWriter(workbook, out, references).write(rebuild);
    for (std::size_t i = 0; i < workbook.sheets.size(); ++i) {
        if (i < boundSheets.size())
            io::ByteWriter::put32(out.data() + boundSheets[i] + 4, static_cast<std::uint32_t>(out.size()));
        writeSheet(workbook.sheets[i], out);
    }
    out.insert(out.end(), workbook.trailingBytes.begin(), workbook.trailingBytes.end());
    return out;
}

} // namespace sheet::biff
