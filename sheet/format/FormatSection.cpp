#include "sheet/format/FormatSection.h"

namespace sheet::format {

bool Condition::holds(double value) const
{
    switch (op) {
    case Op::Less: return value < operand;
    case Op::LessEqual: return value <= operand;
    case Op::Greater: return value > operand;
    case Op::GreaterEqual: return value >= operand;
    case Op::Equal: return value == operand;
    case Op::NotEqual: return value != operand;
    }
    return false;
}

}  // namespace sheet::format
