#pragma once

#include <string>

namespace sheet::model {

// A FONT record.
struct Font {
    std::string name; // UTF-8
    int height = 200; // twips
    int weight = 400; // 400 normal, 700 bold
    bool italic = false;
    bool strikeout = false;
    int underline = 0; // 0 none, 1 single, 2 double, 0x21 single accounting, 0x22 double accounting
    int colorIndex = 0x7FFF;

    bool bold() const { return weight >= 700; }
};

} // namespace sheet::model
