#pragma once

#include <array>
#include <cstdint>

namespace sheet::model {

enum class HorizontalAlignment : std::uint8_t {
    General = 0, Left = 1, Center = 2, Right = 3, Fill = 4, Justify = 5, CenterAcross = 6, Distributed = 7
};
enum class VerticalAlignment : std::uint8_t { Top = 0, Center = 1, Bottom = 2, Justify = 3, Distributed = 4 };

// One edge of a cell: the line style (0 none, 1 thin, 2 medium, 5 thick, ...) and its colour index.
struct Border {
    int style = 0;
    int colorIndex = 64;
};

// A cell format (XF record), resolved into its parts. `raw` holds the record's 20 bytes.
struct Xf {
    int fontIndex = 0;
    int formatIndex = 0;
    bool isStyle = false;
    int parent = 0;
    HorizontalAlignment horizontal = HorizontalAlignment::General;
    VerticalAlignment vertical = VerticalAlignment::Bottom;
    bool wrap = false;
    int indent = 0;
    int rotation = 0;
    Border left, right, top, bottom;
    int fillPattern = 0; // 0 none, 1 solid, 2.. the hatch patterns
    int patternForeground = 64;
    int patternBackground = 65;
    std::array<std::uint8_t, 20> raw{};
};

} // namespace sheet::model
