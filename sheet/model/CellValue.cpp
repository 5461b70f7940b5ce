#include "sheet/model/CellValue.h"

namespace sheet::model {

const char* errorText(ErrorCode code)
{
    switch (code) {
    case ErrorCode::Null: return "#NULL!";
    case ErrorCode::DivisionByZero: return "#DIV/0!";
    case ErrorCode::Value: return "#VALUE!";
    case ErrorCode::Reference: return "#REF!";
    case ErrorCode::Name: return "#NAME?";
    case ErrorCode::Number: return "#NUM!";
    case ErrorCode::NotAvailable: return "#N/A";
    }
    return "#N/A";
}

} // namespace sheet::model
