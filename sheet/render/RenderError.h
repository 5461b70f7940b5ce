#pragma once

#include "sheet/Errors.h"

namespace sheet::render {

// A picture that cannot be drawn: too large, or a range with nothing to show.
class RenderError : public Error {
public:
    using Error::Error;
};

}  // namespace sheet::render
