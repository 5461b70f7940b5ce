#include "sheet/format/DecimalDigits.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <string_view>

namespace sheet::format {

namespace {

constexpr int significantDigits = 15;

// The digits of the value to 15 places and the power of ten of the first one.
struct Significand {
    std::string digits;
    int exponent = 0;
};

Significand significand(double value, int places)
{
    // As printf's "%.*e" writes it, without the cost of its locale and arbitrary precision.
    char buffer[64];
    char* end = std::to_chars(buffer, buffer + sizeof buffer - 1, value, std::chars_format::scientific, places - 1).ptr;
    *end = '\0';
    Significand result;
    const char* p = buffer;
    for (; *p && *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9')
            result.digits.push_back(*p);
    }
    if (*p == 'e')
        result.exponent = std::atoi(p + 1);
    return result;
}

// Rounds a digit string to keep `keep` leading digits; a carry may lengthen it.
bool roundDigits(std::string& digits, int keep)
{
    if (keep < 0) {
        digits.clear();
        return false;
    }
    const auto cut = static_cast<std::size_t>(keep);
    if (cut >= digits.size())
        return false;
    const bool up = digits[cut] >= '5';
    digits.resize(cut);
    if (!up)
        return false;
    for (std::size_t k = digits.size(); k-- > 0;) {
        if (digits[k] != '9') {
            ++digits[k];
            return false;
        }
        digits[k] = '0';
    }
    digits.push_back('0');
    digits.front() = '1';
    return true;
}

// The digits of the shortest text that reads back as the value, when it has no more than `decimals`
// places: they are what the longer way below gives.
bool shortestDigits(double value, int decimals, DecimalDigits& result)
{
    const std::optional<ShortestDecimal> shortest = shortestDecimal(value);
    if (!shortest || shortest->places > static_cast<std::size_t>(decimals))
        return false;
    const std::string_view text = shortest->text();
    const std::string_view integer = text.substr(0, shortest->point);
    result.integer = integer == "0" ? std::string() : std::string(integer);
    if (shortest->places > 0)
        result.fraction.replace(0, shortest->places, text.substr(shortest->point + 1));
    return true;
}

}  // namespace

DecimalDigits roundToDecimals(double value, int decimals)
{
    DecimalDigits result;
    result.fraction.assign(static_cast<std::size_t>(decimals), '0');
    if (!(value > 0) || !std::isfinite(value) || shortestDigits(value, decimals, result))
        return result;
    Significand s = significand(value, significantDigits);
    // value = 0.d1d2d3... * 10^(exponent + 1)
    int point = s.exponent + 1;
    const int keep = point + decimals;
    if (keep < 0)
        return result;
    if (keep == 0) {
        // Only the rounding digit remains: 0.5 and more of the last place rounds up.
        if (s.digits.front() >= '5') {
            s.digits.assign(1, '1');
            point += 1;
        } else {
            return result;
        }
    } else if (roundDigits(s.digits, keep)) {
        point += 1;
    }
    std::string all = s.digits;
    if (static_cast<int>(all.size()) < point + decimals)
        all.append(static_cast<std::size_t>(point + decimals) - all.size(), '0');
    if (point > 0) {
        result.integer = all.substr(0, static_cast<std::size_t>(point));
        result.fraction = all.substr(static_cast<std::size_t>(point), static_cast<std::size_t>(decimals));
    } else {
        std::string fraction(static_cast<std::size_t>(-point), '0');
        fraction += all;
        result.fraction = fraction.substr(0, static_cast<std::size_t>(decimals));
    }
    const auto firstNonZero = result.integer.find_first_not_of('0');
    result.integer = firstNonZero == std::string::npos ? std::string() : result.integer.substr(firstNonZero);
    return result;
}

namespace {

// "00", "01", ... "99": the digits of each number below 100.
constexpr auto DigitPairs = [] {
    std::array<char, 200> pairs{};
    for (std::size_t n = 0; n < 100; ++n) {
        pairs[2 * n] = static_cast<char>('0' + n / 10);
        pairs[2 * n + 1] = static_cast<char>('0' + n % 10);
    }
    return pairs;
}();

// The shortest text of a value that is a whole number of millionths or coarser, with up to 15 digits in
// all, as most values in sheets are: n / 10^k that reads back as the value is then the only decimal of
// 15 digits or fewer that does (any two such decimals are different doubles), so it is the shortest,
// written without the general and slower search. False for other values.
bool fewPlaces(double value, ShortestDecimal& shortest)
{
    constexpr double Powers[] = {1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6};
    for (std::size_t places = 0; places < std::size(Powers); ++places) {
        // Any nearby whole number will do as the candidate: only one that reads back is taken.
        const double scaled = value * Powers[places];
        if (!(scaled < 1e15))
            return false;
        // Signed, which the processor converts in one step each way. Only a candidate within rounding
        // of the scaled value can read back, and the slow division decides for those alone.
        const auto candidate = static_cast<std::int64_t>(scaled + 0.5);
        const double whole = static_cast<double>(candidate);
        if (std::fabs(scaled - whole) > scaled * 1e-15 || whole / Powers[places] != value)
            continue;
        auto units = static_cast<std::uint64_t>(candidate);
        // The digits, two at a time from the last ones, and zeros before them up to a 0 before the point.
        char digits[24];
        char* first = std::end(digits);
        for (; units >= 10; units /= 100) {
            const std::size_t pair = 2 * static_cast<std::size_t>(units % 100);
            *--first = DigitPairs[pair + 1];
            *--first = DigitPairs[pair];
        }
        if (units > 0 || first == std::end(digits))
            *--first = static_cast<char>('0' + units);
        while (static_cast<std::size_t>(std::end(digits) - first) <= places)
            *--first = '0';
        shortest.point = static_cast<std::size_t>(std::end(digits) - first) - places;
        char* at = std::copy(first, first + shortest.point, shortest.digits);
        if (places > 0) {
            *at++ = '.';
            at = std::copy(first + shortest.point, std::end(digits), at);
        }
        shortest.length = static_cast<std::size_t>(at - shortest.digits);
        shortest.places = places;
        return true;
    }
    return false;
}

}  // namespace

std::optional<ShortestDecimal> shortestDecimal(double value)
{
    if (!(value >= 1e-10 && value < 1e15))
        return std::nullopt;
    ShortestDecimal shortest;
    if (fewPlaces(value, shortest))
        return shortest;
    const auto written = std::to_chars(shortest.digits, shortest.digits + sizeof shortest.digits, value,
                                       std::chars_format::fixed);
    if (written.ec != std::errc())
        return std::nullopt;
    shortest.length = static_cast<std::size_t>(written.ptr - shortest.digits);
    const std::string_view text = shortest.text();
    shortest.point = std::min(text.find('.'), text.size());
    shortest.places = shortest.point < text.size() ? text.size() - shortest.point - 1 : 0;
    const std::size_t first = text.find_first_not_of("0.");
    const std::size_t digits = text.size() - first - (shortest.point > first && shortest.places > 0 ? 1 : 0);
    if (digits > significantDigits)
        return std::nullopt;
    return shortest;
}

std::to_chars_result shortestText(char* first, char* last, double value)
{
    const double magnitude = std::fabs(value);
    ShortestDecimal shortest;
    if (magnitude >= 1e-10 && magnitude < 1e15 && fewPlaces(magnitude, shortest)) {
        // The scientific form is d.ddde+XX: the significant digits, a point when there are more than
        // one, and an exponent of at least two digits. The plain one wins a tie.
        const std::string_view text = shortest.text();
        const std::size_t lead = text.find_first_not_of("0.");
        const std::size_t tail = shortest.places > 0 ? text.size() - 1 : text.find_last_not_of('0');
        const std::size_t significant = tail - lead + 1 - (lead < shortest.point && shortest.point < tail ? 1 : 0);
        const int exponent = lead < shortest.point ? static_cast<int>(shortest.point - lead) - 1
                                                   : -static_cast<int>(lead - shortest.point);
        const std::size_t scientific = significant + (significant > 1 ? 1 : 0) + 2 + (std::abs(exponent) >= 100 ? 3 : 2);
        const std::size_t sign = value < 0 ? 1 : 0;
        if (text.size() <= scientific && text.size() + sign <= static_cast<std::size_t>(last - first)) {
            if (sign)
                *first = '-';
            return {std::copy(text.begin(), text.end(), first + sign), std::errc()};
        }
    }
    return std::to_chars(first, last, value);
}

int decimalExponent(double value, int significant)
{
    if (!(value > 0) || !std::isfinite(value))
        return 0;
    const Significand s = significand(value, std::clamp(significant, 1, significantDigits));
    return s.exponent;
}

}  // namespace sheet::format
