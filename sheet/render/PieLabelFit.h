#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace sheet::render {

// How large a pie is drawn and which of its data labels it shows, the way LibreOffice lays out a pie:
// while its labels need room, the pie shrinks inside the chart area until every label fits without
// covering another or crossing the area's edge. Labels are left out only when the pie would become
// narrower than the smallest size given, and then those of the smallest slices first; of equal slices,
// so that those shown spread evenly round the pie.
class PieLabelFit {
public:
    struct Candidate {
        double value = 0;       // the slice's size
        double area = 0;        // the label's, in square pixels
        std::uint32_t place = 0; // the slice's place round the pie: of equal slices, labels spread round it
    };
    struct Choice {
        double factor = 1;       // of the pie's full size
        std::vector<bool> kept;  // for each candidate, whether its label is shown
        bool anywhere = false;   // whether the labels go wherever there is room, not only near their slices
    };
    // Lays out the kept labels around the pie drawn `factor` times its full size, near their slices or,
    // with `anywhere`, wherever there is room: true when each of them finds a place.
    using Attempt = std::function<bool(double factor, const std::vector<bool>& kept, bool anywhere)>;

    // `room` is the area, in square pixels, that the labels share; `smallestFactor` the least the pie
    // may shrink to, at most 1.
    PieLabelFit(std::vector<Candidate> candidates, double room, double smallestFactor);

    // The largest pie, in steps of 2 % of its full size, at which the most labels fit: near their slices
    // if they can be at any size, else wherever there is room.
    Choice choose(const Attempt& attempt) const;

private:
    std::vector<bool> largest(std::size_t count) const;
    std::vector<double> factors() const;
    std::optional<Choice> largestPie(const Attempt& attempt, const std::vector<bool>& kept) const;

    std::vector<Candidate> candidates_;
    std::vector<std::size_t> bySize_;  // the candidates from the largest slice to the smallest
    double room_;
    double smallestFactor_;
};

}  // namespace sheet::render
