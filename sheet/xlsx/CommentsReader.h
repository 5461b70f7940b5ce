#pragma once

#include "sheet/model/Comment.h"
#include "sheet/zip/ZipReader.h"

#include <string>
#include <vector>

namespace sheet::xlsx {

// The comments of a comments part, each with its cell, author and text (in runs); their boxes are not
// placed.
std::vector<model::Comment> readCommentsPart(const zip::ZipReader& package, const std::string& part);

} // namespace sheet::xlsx
