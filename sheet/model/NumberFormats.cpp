#include "sheet/model/NumberFormats.h"

namespace sheet::model {

const std::map<int, std::string>& NumberFormats::builtIns()
{
    static const std::map<int, std::string> codes{
        {0, "General"},
        {1, "0"},
        {2, "0.00"},
        {3, "#,##0"},
        {4, "#,##0.00"},
        {5, R"("$"#,##0_);\("$"#,##0\))"},
        {6, R"("$"#,##0_);[Red]\("$"#,##0\))"},
        {7, R"("$"#,##0.00_);\("$"#,##0.00\))"},
        {8, R"("$"#,##0.00_);[Red]\("$"#,##0.00\))"},
        {9, "0%"},
        {10, "0.00%"},
        {11, "0.00E+00"},
        {12, "# ?/?"},
        {13, "# ?" "?/??"},
        {14, "m/d/yyyy"},
        {15, "d-mmm-yy"},
        {16, "d-mmm"},
        {17, "mmm-yy"},
        {18, "h:mm AM/PM"},
        {19, "h:mm:ss AM/PM"},
        {20, "h:mm"},
        {21, "h:mm:ss"},
        {22, "m/d/yyyy h:mm"},
        {37, "#,##0_);(#,##0)"},
        {38, "#,##0_);[Red](#,##0)"},
        {39, "#,##0.00_);(#,##0.00)"},
        {40, "#,##0.00_);[Red](#,##0.00)"},
        {41, R"(_(* #,##0_);_(* \(#,##0\);_(* "-"_);_(@_))"},
        {42, R"(_("$"* #,##0_);_("$"* \(#,##0\);_("$"* "-"_);_(@_))"},
        {43, R"(_(* #,##0.00_);_(* \(#,##0.00\);_(* "-"??_);_(@_))"},
        {44, R"(_("$"* #,##0.00_);_("$"* \(#,##0.00\);_("$"* "-"??_);_(@_))"},
        {45, "mm:ss"},
        {46, "[h]:mm:ss"},
        {47, "mm:ss.0"},
        {48, "##0.0E+0"},
        {49, "@"},
    };
    return codes;
}

std::string NumberFormats::code(int index) const
{
    auto found = codes.find(index);
    return found == codes.end() ? std::string("General") : found->second;
}

std::optional<int> NumberFormats::find(const std::string& wanted) const
{
    for (const auto& [index, code] : codes)
        if (code == wanted)
            return index;
    return std::nullopt;
}

} // namespace sheet::model
