#pragma once

#include "sheet/Errors.h"

namespace sheet::render {

// A picture that cannot be drawn: too large, or a range with nothing to show.
class RenderError : public Error {
public:
    using Error::Error;
};

// A picture larger than a bitmap, or a drawing, can hold; a smaller part of the sheet can still be drawn.
class PictureTooLarge : public RenderError {
public:
    using RenderError::RenderError;
};

}  // namespace sheet::render
