#pragma once

#include "sheet/biff/WorkbookFile.h"
#include "sheet/model/Workbook.h"
#include "sheet/ods/OdsPackage.h"
#include "sheet/xlsx/XlsxPackage.h"

#include <string>
#include <variant>

namespace sheet {

// The file formats a workbook comes in, known by its content.
enum class WorkbookFormat { Excel97, OfficeOpenXml, OpenDocument };

// A workbook as it was read from its file, in any of the formats the engine reads, with what saving it
// needs: the compound file of an .xls, whose other streams are kept, or the package of an .xlsx or .ods,
// whose parts that nothing changed are written back as they came.
class WorkbookSource {
public:
    // Reads the file at the path, whatever its name says: an Excel 97-2003 workbook or template (a compound
    // file), an .xlsx, .xlsm, .xltx or .xltm package, an .ods or .ots package, or a flat .fods document.
    // An encrypted .xls opens with the built-in default password or with `password`. Throws a
    // FormatError naming the file and the reason, a PasswordError, or a FileError.
    static WorkbookSource open(const std::string& path, const std::string& password = {});

    WorkbookFormat format() const;
    model::Workbook& workbook();
    // The compound file of an .xls; nullptr for the packages.
    biff::WorkbookFile* excel97() { return std::get_if<biff::WorkbookFile>(&source_); }

    // Writes the workbook in a format: a package in its own format keeps every part that did not change;
    // anything else is written from the model. The caller has checked what the format can hold. A package
    // that holds what the engine does not read yet (see unreadFeatures) is refused in another format with
    // a FormatError that names it, rather than written without it.
    void save(const std::string& path, WorkbookFormat format, biff::SaveTarget target);

    // What a package holds that the engine keeps only by copying the package's parts, one phrase each
    // ("2 formulas shared with other cells", "pictures"); empty for an .xls and a package without such.
    std::vector<std::string> unreadFeatures() const;

private:
    explicit WorkbookSource(std::variant<biff::WorkbookFile, xlsx::XlsxPackage, ods::OdsPackage> source);

    std::variant<biff::WorkbookFile, xlsx::XlsxPackage, ods::OdsPackage> source_;
    // A package's workbook as it is changed; the package keeps the one it was read as, against which the
    // changed parts are found.
    model::Workbook working_;
};

} // namespace sheet
