#include "sheet/render/PieLabelFit.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace sheet::render {

namespace {
constexpr double factorStep = 0.02;
}  // namespace

PieLabelFit::PieLabelFit(std::vector<Candidate> candidates, double room, double smallestFactor)
    : candidates_(std::move(candidates)), room_(room), smallestFactor_(std::clamp(smallestFactor, 0.0, 1.0))
{
    bySize_.resize(candidates_.size());
    std::iota(bySize_.begin(), bySize_.end(), 0);
    // A value that is not a number counts as the smallest.
    const auto size = [this](std::size_t k) {
        const double value = candidates_[k].value;
        return std::isnan(value) ? -INFINITY : value;
    };
    // Equal slices by their places with the bits reversed: halfway round first, then the quarters, and so on.
    const auto spread = [this](std::size_t k) {
        std::uint32_t place = candidates_[k].place;
        std::uint32_t reversed = 0;
        for (int bit = 0; bit < 32; ++bit, place >>= 1)
            reversed = reversed << 1 | (place & 1);
        return reversed;
    };
    std::stable_sort(bySize_.begin(), bySize_.end(), [&](std::size_t l, std::size_t r) {
        return size(l) != size(r) ? size(l) > size(r) : spread(l) < spread(r);
    });
}

std::vector<bool> PieLabelFit::largest(std::size_t count) const
{
    std::vector<bool> kept(candidates_.size(), false);
    for (std::size_t k = 0; k < count && k < bySize_.size(); ++k)
        kept[bySize_[k]] = true;
    return kept;
}

std::vector<double> PieLabelFit::factors() const
{
    std::vector<double> factors;
    for (int step = 0; 1 - step * factorStep > smallestFactor_; ++step)
        factors.push_back(1 - step * factorStep);
    factors.push_back(smallestFactor_);
    return factors;
}

std::optional<PieLabelFit::Choice> PieLabelFit::largestPie(const Attempt& attempt, const std::vector<bool>& kept) const
{
    const std::vector<double> sizes = factors();
    for (bool anywhere : {false, true}) {
        for (double factor : sizes) {
            if (attempt(factor, kept, anywhere))
                return Choice{factor, kept, anywhere};
        }
    }
    return std::nullopt;
}

PieLabelFit::Choice PieLabelFit::choose(const Attempt& attempt) const
{
    // Labels that together cover more than the room cannot all fit, wherever they stand.
    std::size_t most = 0;
    for (double covered = 0; most < bySize_.size(); ++most) {
        covered += candidates_[bySize_[most]].area;
        if (covered > room_)
            break;
    }
    if (most == candidates_.size()) {
        if (const std::optional<Choice> all = largestPie(attempt, largest(most)))
            return *all;
    }
    // Fewer labels, at the smallest pie: as many of the largest slices' as fit, found by halving.
    const auto fit = [&](std::size_t count) { return attempt(smallestFactor_, largest(count), true); };
    std::size_t fits = 0;
    std::size_t fails = std::min(most + 1, candidates_.size());
    if (most < candidates_.size())
        (fit(most) ? fits : fails) = most;
    while (fails - fits > 1) {
        const std::size_t middle = fits + (fails - fits) / 2;
        (fit(middle) ? fits : fails) = middle;
    }
    return largestPie(attempt, largest(fits)).value_or(Choice{smallestFactor_, largest(fits), true});
}

}  // namespace sheet::render
